Dim re
Set re = New RegExp
re.Pattern = "a"
MsgBox re.Test(Null) ' expect error: Utilisation incorrecte de Null
