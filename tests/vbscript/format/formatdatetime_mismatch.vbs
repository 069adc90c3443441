MsgBox FormatDateTime("hier") ' expect error: Type incompatible: 'FormatDateTime'
