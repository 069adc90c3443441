MsgBox CStr(Null) ' expect error: Utilisation incorrecte de Null: 'CStr'
