MsgBox "a" = "A" ' expect: Faux
MsgBox "abc" < "abd" ' expect: Vrai
MsgBox "10" < "9" ' expect: Vrai
