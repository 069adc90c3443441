MsgBox CInt(40000) ' expect error: Dépassement de capacité: 'CInt'
