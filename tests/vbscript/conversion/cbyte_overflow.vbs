MsgBox CByte(256) ' expect error: Dépassement de capacité: 'CByte'
