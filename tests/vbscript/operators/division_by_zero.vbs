MsgBox 1 / 0 ' expect error: Division par zéro
