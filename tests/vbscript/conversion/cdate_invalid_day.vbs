MsgBox CDate("31/02/2024") ' expect error: Type incompatible: 'CDate'
