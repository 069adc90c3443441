MsgBox Sqr(16) ' expect: 4
MsgBox Sqr(0) ' expect: 0
MsgBox Sqr(2) ' expect: 1,4142135623731
MsgBox Sqr("9") ' expect: 3
