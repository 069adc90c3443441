Dim re
Set re = New RegExp
re.Pattern = "a"
MsgBox re.Replace("banana", "o") ' expect: bonana
re.Global = True
MsgBox re.Replace("banana", "o") ' expect: bonono
re.Pattern = "x*"
MsgBox re.Replace("abc", "-") ' expect: -a-b-c-
