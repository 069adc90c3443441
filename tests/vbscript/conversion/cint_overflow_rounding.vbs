MsgBox CInt(32767.5) ' expect error: Dépassement de capacité: 'CInt'
