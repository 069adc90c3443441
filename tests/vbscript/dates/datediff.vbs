MsgBox DateDiff("d", #1/1/2024#, #3/1/2024#) ' expect: 60
MsgBox DateDiff("d", #3/1/2024#, #1/1/2024#) ' expect: -60
MsgBox DateDiff("yyyy", #12/31/2023#, #1/1/2024#) ' expect: 1
MsgBox DateDiff("m", #1/31/2024#, #2/1/2024#) ' expect: 1
MsgBox DateDiff("q", #3/31/2024#, #4/1/2024#) ' expect: 1
MsgBox DateDiff("h", #1/1/2024 10:59#, #1/1/2024 11:00#) ' expect: 1
MsgBox DateDiff("n", #1/1/2024 10:00#, #1/1/2024 12:30#) ' expect: 150
MsgBox DateDiff("s", #1/1/2024#, #1/2/2024#) ' expect: 86400
MsgBox DateDiff("w", #1/1/2024#, #1/15/2024#) ' expect: 2
MsgBox DateDiff("ww", #1/6/2024#, #1/7/2024#) ' expect: 1
MsgBox DateDiff("ww", #1/7/2024#, #1/8/2024#, vbMonday) ' expect: 1
MsgBox TypeName(DateDiff("d", Date, Date)) ' expect: Long
MsgBox IsNull(DateDiff("d", Null, Date)) ' expect: Vrai
