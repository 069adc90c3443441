Dim re
Set re = New RegExp
re.Pattern = ""
MsgBox re.Test("abc") & re.Execute("abc").Count ' expect: Vrai1
re.Pattern = "$"
MsgBox re.Execute("abc")(0).FirstIndex ' expect: 3
re.Pattern = "^"
re.Global = True
MsgBox re.Replace("ab", ">") ' expect: >ab
