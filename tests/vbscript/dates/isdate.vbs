MsgBox IsDate("31/12/2024") ' expect: Vrai
MsgBox IsDate("31/02/2024") ' expect: Faux
MsgBox IsDate("14:05") ' expect: Vrai
MsgBox IsDate(#1/1/2024#) ' expect: Vrai
MsgBox IsDate("bonjour") ' expect: Faux
MsgBox IsDate(Null) ' expect: Faux
MsgBox IsDate(Empty) ' expect: Faux
MsgBox IsDate(12) ' expect: Faux
MsgBox IsDate("1er mai") ' expect: Faux
MsgBox IsDate("1 mai 2024") ' expect: Vrai
