Dim re, text
Set re = New RegExp
text = "un" & vbLf & "deux" & vbLf & "trois"
re.Pattern = "^\w+$"
re.Global = True
MsgBox re.Execute(text).Count ' expect: 0
re.Multiline = True
MsgBox re.Execute(text).Count ' expect: 3
MsgBox re.Execute(text)(1) ' expect: deux
re.Pattern = "^d"
MsgBox re.Test(text) ' expect: Vrai
