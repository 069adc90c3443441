Dim re
Set re = New RegExp
re.Pattern = "^(a+)+\1$"
MsgBox re.Test(String(40, "a") & "!") ' expect error: Espace pile insuffisant
