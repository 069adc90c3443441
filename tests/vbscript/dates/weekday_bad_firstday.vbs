MsgBox Weekday(#1/1/2024#, 8) ' expect error: Argument ou appel de procédure incorrect: 'Weekday'
