MsgBox CLng(2147483648) ' expect error: Dépassement de capacité: 'CLng'
