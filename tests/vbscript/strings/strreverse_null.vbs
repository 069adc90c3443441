MsgBox StrReverse(Null) ' expect error: Utilisation incorrecte de Null
