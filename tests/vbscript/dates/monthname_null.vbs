MsgBox MonthName(Null) ' expect error: Utilisation incorrecte de Null
