Dim re, ms
Set re = New RegExp
re.Pattern = "o"
Set ms = re.Execute("foo boo")
MsgBox ms.Count & " " & ms(0).FirstIndex ' expect: 1 1
re.Pattern = "z"
MsgBox re.Execute("foo").Count ' expect: 0
