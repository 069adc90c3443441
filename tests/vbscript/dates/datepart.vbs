Dim d
d = #12/31/2024 14:05:09#
MsgBox DatePart("yyyy", d) & " " & DatePart("q", d) & " " & DatePart("m", d) ' expect: 2024 4 12
MsgBox DatePart("y", d) & " " & DatePart("d", d) & " " & DatePart("w", d) ' expect: 366 31 3
MsgBox DatePart("h", d) & " " & DatePart("n", d) & " " & DatePart("s", d) ' expect: 14 5 9
MsgBox DatePart("ww", d) ' expect: 53
MsgBox DatePart("ww", d, vbMonday, vbFirstFourDays) ' expect: 1
MsgBox DatePart("ww", #1/1/2021#, vbMonday, vbFirstFourDays) ' expect: 53
MsgBox DatePart("ww", #1/4/2021#, vbMonday, vbFirstFourDays) ' expect: 1
MsgBox DatePart("ww", #1/1/2023#, vbSunday, vbFirstFullWeek) ' expect: 1
MsgBox DatePart("ww", #1/1/2022#, vbSunday, vbFirstFullWeek) ' expect: 52
MsgBox DatePart("w", d, vbMonday) ' expect: 2
MsgBox DatePart("ww", #1/10/2024#, vbUseSystemDayOfWeek, vbUseSystem) ' expect: 2
MsgBox IsNull(DatePart("d", Null)) ' expect: Vrai
