MsgBox CBool(1) ' expect: Vrai
MsgBox CBool(0) ' expect: Faux
MsgBox CBool("Vrai") ' expect: Vrai
MsgBox CBool("false") ' expect: Faux
MsgBox CBool("0,0") ' expect: Faux
MsgBox CBool(Empty) ' expect: Faux
MsgBox CBool(-0.5) ' expect: Vrai
