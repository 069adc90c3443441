MsgBox 1 < 2 ' expect: Vrai
MsgBox "a" < "b" ' expect: Vrai
MsgBox "B" < "a" ' expect: Vrai
MsgBox "abc" = "abc" ' expect: Vrai
MsgBox 2 >= 2 ' expect: Vrai
MsgBox 1 <> 1 ' expect: Faux
MsgBox 1.5 > 1 ' expect: Vrai
Dim e
MsgBox e = 0 ' expect: Vrai
MsgBox e = "" ' expect: Vrai
