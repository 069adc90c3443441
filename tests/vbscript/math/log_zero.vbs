MsgBox Log(0) ' expect error: Argument ou appel de procédure incorrect: 'Log'
