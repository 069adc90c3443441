Dim re, t
Set re = New RegExp
re.Pattern = "(a+)+$"
MsgBox re.Test("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!") ' expect: Faux
re.Pattern = "(a|aa)*b"
MsgBox re.Test(String(5000, "a")) ' expect: Faux
re.Pattern = "(x+x+)+y"
MsgBox re.Test(String(3000, "x")) ' expect: Faux
re.Pattern = "(.*a){12}"
MsgBox re.Test(String(200, "a")) ' expect: Vrai
