Dim re
Set re = New RegExp
re.Pattern = "a"
MsgBox re.Execute("a")(1) ' expect error: Argument ou appel de procédure incorrect
