MsgBox FormatNumber(1, 2, 5) ' expect error: Argument ou appel de procédure incorrect: 'FormatNumber'
