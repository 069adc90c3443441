MsgBox Len("a", "b") ' expect error: Nombre d'arguments incorrect
