MsgBox WeekdayName(8) ' expect error: Argument ou appel de procédure incorrect: 'WeekdayName'
