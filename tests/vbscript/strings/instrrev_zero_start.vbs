MsgBox InStrRev("abc", "a", 0) ' expect error: Argument ou appel de procédure incorrect: 'InStrRev'
