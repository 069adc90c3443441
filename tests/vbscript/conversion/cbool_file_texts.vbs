' "#TRUE#" and "#FALSE#", as Boolean values are written to files.
MsgBox CBool("#TRUE#") ' expect: Vrai
MsgBox CBool("#false#") ' expect: Faux
MsgBox CBool(" #True# ") ' expect: Vrai
