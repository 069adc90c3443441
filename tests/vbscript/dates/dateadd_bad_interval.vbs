MsgBox DateAdd("x", 1, #1/1/2024#) ' expect error: Argument ou appel de procédure incorrect: 'DateAdd'
