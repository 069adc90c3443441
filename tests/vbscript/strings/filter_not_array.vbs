MsgBox Filter("abc", "a") ' expect error: Type incompatible: 'Filter'
