MsgBox Int("x") ' expect error: Type incompatible: 'Int'
