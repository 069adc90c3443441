MsgBox InStr(0, "abc", "a") ' expect error: Argument ou appel de procédure incorrect: 'InStr'
