MsgBox DatePart("ww", #1/1/2024#, 1, 4) ' expect error: Argument ou appel de procédure incorrect: 'DatePart'
