Dim name
name = InputBox("Nom ?") ' expect: Nom ?
' stdin: Zoé
MsgBox "Bonjour " & name ' expect: Bonjour Zoé
