MsgBox CCur(1E+20) ' expect error: Dépassement de capacité: 'CCur'
