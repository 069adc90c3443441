MsgBox CLng(Null) ' expect error: Utilisation incorrecte de Null
