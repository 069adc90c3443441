MsgBox CSng(1E+300) ' expect error: Dépassement de capacité: 'CSng'
