MsgBox Mid("abc", 0) ' expect error: Argument ou appel de procédure incorrect: 'Mid'
