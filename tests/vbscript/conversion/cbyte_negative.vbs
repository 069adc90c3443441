MsgBox CByte(-1) ' expect error: Dépassement de capacité: 'CByte'
