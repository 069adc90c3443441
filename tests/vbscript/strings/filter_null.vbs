MsgBox Filter(Null, "a") ' expect error: Utilisation incorrecte de Null
