MsgBox Split(Null) ' expect error: Utilisation incorrecte de Null
