MsgBox Hex(2147483648) ' expect error: Dépassement de capacité: 'Hex'
