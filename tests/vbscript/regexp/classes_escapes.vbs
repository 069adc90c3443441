Dim re
Set re = New RegExp
re.Global = True
re.Pattern = "\w+"
MsgBox re.Execute("ab_1 cd").Count ' expect: 2
re.Pattern = "\bcat\b"
MsgBox re.Execute("cat concat cat.").Count ' expect: 2
re.Pattern = "\Bcat"
MsgBox re.Execute("cat concat").Count ' expect: 1
re.Pattern = "[^aeiou\s]"
MsgBox re.Replace("le chat", "") ' expect: e a
re.Pattern = "\x41\u0042\t"
MsgBox re.Test("AB" & vbTab) ' expect: Vrai
re.Pattern = "[\d.-]+"
MsgBox re.Execute("v 1.2-3 x")(0) ' expect: 1.2-3
re.Pattern = "\D\W\S"
MsgBox re.Execute("1a 2b!x")(0) ' expect: a 2
