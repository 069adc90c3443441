MsgBox "a" + 1 ' expect error: Type incompatible
