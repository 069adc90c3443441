MsgBox True And False ' expect: Faux
MsgBox True Or False ' expect: Vrai
MsgBox True Xor True ' expect: Faux
MsgBox False Eqv False ' expect: Vrai
MsgBox True Imp False ' expect: Faux
MsgBox Not True ' expect: Faux
MsgBox 12 And 10 ' expect: 8
MsgBox 12 Or 3 ' expect: 15
MsgBox Not 0 ' expect: -1
MsgBox 5 Xor 1 ' expect: 4
