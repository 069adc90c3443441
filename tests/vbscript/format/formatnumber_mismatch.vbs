MsgBox FormatNumber("abc") ' expect error: Type incompatible: 'FormatNumber'
