MsgBox Chr(256) ' expect error: Argument ou appel de procédure incorrect: 'Chr'
