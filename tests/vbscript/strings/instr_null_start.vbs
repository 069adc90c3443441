MsgBox InStr(Null, "abc", "a") ' expect error: Utilisation incorrecte de Null
