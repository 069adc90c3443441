Dim d
d = #12/31/2024 14:05:09#
MsgBox FormatDateTime(d) ' expect: 31/12/2024 14:05:09
MsgBox FormatDateTime(d, vbGeneralDate) ' expect: 31/12/2024 14:05:09
MsgBox FormatDateTime(d, vbLongDate) ' expect: mardi 31 décembre 2024
MsgBox FormatDateTime(d, vbShortDate) ' expect: 31/12/2024
MsgBox FormatDateTime(d, vbLongTime) ' expect: 14:05:09
MsgBox FormatDateTime(d, vbShortTime) ' expect: 14:05
MsgBox FormatDateTime(#1/5/2024#) ' expect: 05/01/2024
MsgBox FormatDateTime("5/1/2024", vbLongDate) ' expect: vendredi 5 janvier 2024
