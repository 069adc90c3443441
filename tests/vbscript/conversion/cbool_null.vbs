MsgBox CBool(Null) ' expect error: Utilisation incorrecte de Null
