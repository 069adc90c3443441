MsgBox CDate("pas une date") ' expect error: Type incompatible: 'CDate'
