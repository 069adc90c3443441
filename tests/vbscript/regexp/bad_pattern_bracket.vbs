Dim re
Set re = New RegExp
re.Pattern = "[abc"
re.Execute "abc" ' expect error: ']' attendu dans l'expression régulière
