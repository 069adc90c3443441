MsgBox 42 ' expect: 42
MsgBox TypeName(32767) ' expect: Integer
MsgBox TypeName(32768) ' expect: Long
MsgBox TypeName(2147483648) ' expect: Double
MsgBox -5 ' expect: -5
