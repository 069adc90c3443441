MsgBox Sqr(-1) ' expect error: Argument ou appel de procédure incorrect: 'Sqr'
