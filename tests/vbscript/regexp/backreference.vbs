Dim re
Set re = New RegExp
re.Pattern = "(\w)\1"
re.Global = True
MsgBox re.Replace("aabbcd", "[$1]") ' expect: [a][b]cd
re.Pattern = "<(\w+)>.*?</\1>"
MsgBox re.Execute("<b>x</i> <i>y</i>")(0) ' expect: <i>y</i>
re.Pattern = "(a)\1"
re.IgnoreCase = True
MsgBox re.Test("aA") ' expect: Vrai
