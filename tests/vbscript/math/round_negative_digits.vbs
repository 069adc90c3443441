MsgBox Round(1.5, -1) ' expect error: Argument ou appel de procédure incorrect: 'Round'
