' Every interval over one year and a day, from a Saturday to a Sunday:
' "w" counts whole weeks of days, "ww" the Sundays passed.
SetLocale "en-us"
Dim fromDate, toDate
fromDate = "31-Jan-09 00:00:00"
toDate = "31-Jan-10 23:59:00"
MsgBox DateDiff("yyyy", fromDate, toDate) & " " & DateDiff("q", fromDate, toDate) & " " & DateDiff("m", fromDate, toDate) ' expect: 1 4 12
MsgBox DateDiff("y", fromDate, toDate) & " " & DateDiff("d", fromDate, toDate) ' expect: 365 365
MsgBox DateDiff("w", fromDate, toDate) & " " & DateDiff("ww", fromDate, toDate) ' expect: 52 53
MsgBox DateDiff("h", fromDate, toDate) & " " & DateDiff("n", fromDate, toDate) & " " & DateDiff("s", fromDate, toDate) ' expect: 8783 527039 31622340
MsgBox DateDiff("d", toDate, fromDate) ' expect: -365
