Dim re
Set re = New RegExp
re.Pattern = "(a*)*b"
MsgBox re.Test("aaab") ' expect: Vrai
re.Pattern = "(a*)+$"
MsgBox re.Execute("xaa")(0).FirstIndex ' expect: 1
re.Pattern = "(?:)*x"
MsgBox re.Test("x") ' expect: Vrai
