MsgBox LeftB("abc", -1) ' expect error: Argument ou appel de procédure incorrect: 'LeftB'
