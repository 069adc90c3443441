MsgBox Asc(Null) ' expect error: Utilisation incorrecte de Null
