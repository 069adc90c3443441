MsgBox Cos(Null) ' expect error: Utilisation incorrecte de Null
