Dim d
d = #12/31/2024 14:05:09#
MsgBox Year(d) & " " & Month(d) & " " & Day(d) ' expect: 2024 12 31
MsgBox Hour(d) & " " & Minute(d) & " " & Second(d) ' expect: 14 5 9
MsgBox Weekday(d) ' expect: 3
MsgBox Weekday(d, vbMonday) ' expect: 2
MsgBox TypeName(Year(d)) ' expect: Integer
MsgBox Year("31/12/2024") ' expect: 2024
MsgBox Day(0) & "/" & Month(0) & "/" & Year(0) ' expect: 30/12/1899
