MsgBox #12/31/2024# ' expect: 31/12/2024
MsgBox #2024-01-05# ' expect: 05/01/2024
MsgBox TypeName(#1/1/2000#) ' expect: Date
MsgBox #1/2/2000 14:30:00# ' expect: 02/01/2000 14:30:00
