MsgBox DateDiff("days", #1/1/2024#, #1/2/2024#) ' expect error: Argument ou appel de procédure incorrect: 'DateDiff'
