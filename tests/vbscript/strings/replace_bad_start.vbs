MsgBox Replace("abc", "a", "b", 0) ' expect error: Argument ou appel de procédure incorrect: 'Replace'
