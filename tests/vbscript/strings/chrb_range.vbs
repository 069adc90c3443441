MsgBox ChrB(256) ' expect error: Argument ou appel de procédure incorrect: 'ChrB'
