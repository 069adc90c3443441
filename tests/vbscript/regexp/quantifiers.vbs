Dim re
Set re = New RegExp
re.Pattern = "a{2,3}"
MsgBox re.Execute("aaaa")(0) ' expect: aaa
re.Pattern = "a{2,3}?"
MsgBox re.Execute("aaaa")(0) ' expect: aa
re.Pattern = "<.+>"
MsgBox re.Execute("<b>x</b>")(0) ' expect: <b>x</b>
re.Pattern = "<.+?>"
MsgBox re.Execute("<b>x</b>")(0) ' expect: <b>
re.Pattern = "ab?c*d+"
MsgBox re.Execute("xacccdd")(0) ' expect: acccdd
re.Pattern = "a{2}"
MsgBox re.Test("a") ' expect: Faux
re.Pattern = "a{,2}"
MsgBox re.Test("a{,2}") ' expect: Vrai
