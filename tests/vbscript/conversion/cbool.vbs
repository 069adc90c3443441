MsgBox CBool(1) ' expect: Vrai
MsgBox CBool(0) ' expect: Faux
MsgBox CBool("true") ' expect: Vrai
MsgBox CBool("Faux") ' expect: Faux
MsgBox CBool("0") ' expect: Faux
