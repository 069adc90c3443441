MsgBox Join("abc") ' expect error: Type incompatible: 'Join'
