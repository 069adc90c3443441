MsgBox CInt(2.5) ' expect: 2
MsgBox CInt(3.5) ' expect: 4
MsgBox CInt(-2.5) ' expect: -2
MsgBox CLng(1.5) ' expect: 2
MsgBox CInt("  7 ") ' expect: 7
MsgBox CInt(True) ' expect: -1
