MsgBox SetLocale("en-us") ' expect: 1036
MsgBox GetLocale ' expect: 1033
MsgBox 1.5 ' expect: 1.5
MsgBox True ' expect: True
MsgBox #3/4/2024# ' expect: 3/4/2024
MsgBox #3/4/2024 14:05:09# ' expect: 3/4/2024 2:05:09 PM
MsgBox CDate("12/31/2024") ' expect: 12/31/2024
MsgBox FormatNumber(1234.5) ' expect: 1,234.50
MsgBox FormatCurrency(-1234.5) ' expect: ($1,234.50)
MsgBox FormatCurrency(1234.5) ' expect: $1,234.50
MsgBox FormatDateTime(#12/31/2024#, vbLongDate) ' expect: Tuesday, December 31, 2024
MsgBox FormatDateTime(#12/31/2024 14:05:09#, vbLongTime) ' expect: 2:05:09 PM
MsgBox MonthName(1) & " " & WeekdayName(1, True) ' expect: January Sun
MsgBox CDbl("2.5") * 2 ' expect: 5
