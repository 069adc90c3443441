Dim re
Set re = New RegExp
On Error Resume Next
re.Pattern = "a)"
MsgBox re.Test("a")
MsgBox Err.Number ' expect: 5017
re.Pattern = "a\"
Err.Clear
re.Test "a"
MsgBox Err.Number ' expect: 5017
re.Pattern = "a**"
Err.Clear
re.Test "a"
MsgBox Err.Number ' expect: 5018
