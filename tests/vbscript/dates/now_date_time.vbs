MsgBox TypeName(Now) & TypeName(Date) & TypeName(Time) ' expect: DateDateDate
MsgBox Date = Int(Date) ' expect: Vrai
MsgBox Time < 1 And Time >= 0 ' expect: Vrai
MsgBox Abs(DateDiff("s", Now, Date + Time)) < 5 ' expect: Vrai
MsgBox VarType(Now) ' expect: 7
