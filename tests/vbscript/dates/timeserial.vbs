MsgBox TimeSerial(14, 5, 9) ' expect: 14:05:09
MsgBox TimeSerial(12, 90, 0) ' expect: 13:30:00
MsgBox TimeSerial(0, 0, 59) ' expect: 00:00:59
MsgBox TypeName(TimeSerial(1, 0, 0)) ' expect: Date
MsgBox Hour(TimeSerial(10, -30, 0)) & ":" & Minute(TimeSerial(10, -30, 0)) ' expect: 9:30
