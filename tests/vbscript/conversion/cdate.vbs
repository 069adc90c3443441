MsgBox CDate("31/12/2024") ' expect: 31/12/2024
MsgBox TypeName(CDate("31/12/2024")) ' expect: Date
MsgBox CDate("2024-03-05") ' expect: 05/03/2024
MsgBox CDate("5 mars 2024") ' expect: 05/03/2024
MsgBox CDate("31/12/2024 14:05:09") ' expect: 31/12/2024 14:05:09
MsgBox CDate("14:05") ' expect: 14:05:00
MsgBox CDate(45657) ' expect: 31/12/2024
MsgBox CDate(0.5) ' expect: 12:00:00
MsgBox CDate("3:05 PM") ' expect: 15:05:00
