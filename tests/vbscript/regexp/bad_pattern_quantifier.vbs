Dim re
Set re = New RegExp
re.Pattern = "*a"
MsgBox re.Replace("a", "b") ' expect error: Quantificateur inattendu
