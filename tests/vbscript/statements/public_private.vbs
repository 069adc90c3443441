Public p
Private q
p = 1 : q = 2
MsgBox p + q ' expect: 3
