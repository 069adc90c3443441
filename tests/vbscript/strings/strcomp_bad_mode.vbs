MsgBox StrComp("a", "b", 2) ' expect error: Argument ou appel de procédure incorrect: 'StrComp'
