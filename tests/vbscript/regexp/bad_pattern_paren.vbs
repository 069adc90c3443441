Dim re
Set re = New RegExp
re.Pattern = "(abc"
MsgBox re.Test("abc") ' expect error: ')' attendu dans l'expression régulière
