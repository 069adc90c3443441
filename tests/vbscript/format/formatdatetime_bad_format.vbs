MsgBox FormatDateTime(#1/1/2024#, 5) ' expect error: Argument ou appel de procédure incorrect: 'FormatDateTime'
