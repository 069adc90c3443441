MsgBox vbSunday & vbMonday & vbTuesday & vbWednesday & vbThursday & vbFriday & vbSaturday ' expect: 1234567
MsgBox vbUseSystemDayOfWeek & " " & vbUseSystem ' expect: 0 0
MsgBox vbFirstJan1 & vbFirstFourDays & vbFirstFullWeek ' expect: 123
