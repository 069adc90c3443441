MsgBox FormatNumber(Null) ' expect error: Utilisation incorrecte de Null
