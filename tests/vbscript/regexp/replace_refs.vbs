Dim re
Set re = New RegExp
re.Pattern = "(\w+) (\w+)"
MsgBox re.Replace("jean dupont", "$2 $1") ' expect: dupont jean
MsgBox re.Replace("jean dupont", "[$&]") ' expect: [jean dupont]
MsgBox re.Replace("jean dupont", "$$1") ' expect: $1
re.Pattern = "b"
MsgBox re.Replace("abc", "[$`|$']") ' expect: a[a|c]c
MsgBox re.Replace("abc", "$3") ' expect: a$3c
