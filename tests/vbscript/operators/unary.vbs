MsgBox -(-3) ' expect: 3
MsgBox TypeName(-CInt(-32768)) ' expect: Long
MsgBox - "2" ' expect: -2
MsgBox 2 ^ -1 ' expect: 0,5
