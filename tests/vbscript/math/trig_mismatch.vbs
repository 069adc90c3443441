MsgBox Sin("abc") ' expect error: Type incompatible: 'Sin'
