MsgBox CInt("abc") ' expect error: Type incompatible: 'CInt'
