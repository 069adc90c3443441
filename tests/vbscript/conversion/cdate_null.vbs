MsgBox CDate(Null) ' expect error: Utilisation incorrecte de Null
