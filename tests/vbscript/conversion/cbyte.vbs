MsgBox CByte(255) ' expect: 255
MsgBox CByte(2.5) ' expect: 2
MsgBox CByte(3.5) ' expect: 4
MsgBox TypeName(CByte("7")) ' expect: Byte
