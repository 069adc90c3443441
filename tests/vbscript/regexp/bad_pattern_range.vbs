Dim re
Set re = New RegExp
re.Pattern = "[z-a]"
MsgBox re.Test("a") ' expect error: Plage non valide dans le jeu de caractères
