MsgBox Year("demain") ' expect error: Type incompatible: 'Year'
