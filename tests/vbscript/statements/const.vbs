Const Pi = 3.14, Name = "zorv"
Const Neg = -2
MsgBox Pi ' expect: 3,14
MsgBox Name ' expect: zorv
MsgBox Neg * 2 ' expect: -4
