MsgBox 7 / 2 ' expect: 3,5
MsgBox TypeName(4 / 2) ' expect: Double
MsgBox 7 \ 2 ' expect: 3
MsgBox -7 \ 2 ' expect: -3
MsgBox -7 Mod 3 ' expect: -1
MsgBox 7.5 \ 2 ' expect: 4
MsgBox 6.5 Mod 4 ' expect: 2
