MsgBox Exp(1000) ' expect error: Dépassement de capacité: 'Exp'
