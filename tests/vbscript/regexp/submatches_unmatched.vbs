Dim re, m
Set re = New RegExp
re.Pattern = "(a)|(b)"
Set m = re.Execute("b")(0)
MsgBox IsEmpty(m.SubMatches(0)) & " " & m.SubMatches(1) ' expect: Vrai b
