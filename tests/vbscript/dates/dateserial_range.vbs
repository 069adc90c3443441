MsgBox DateSerial(10000, 1, 1) ' expect error: Argument ou appel de procédure incorrect: 'DateSerial'
