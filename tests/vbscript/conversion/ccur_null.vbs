MsgBox CCur(Null) ' expect error: Utilisation incorrecte de Null
