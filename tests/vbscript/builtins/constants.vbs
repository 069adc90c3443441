MsgBox Len(vbCrLf) ' expect: 2
MsgBox Asc(vbTab) ' expect: 9
MsgBox vbObjectError ' expect: -2147221504
MsgBox vbYesNo + vbQuestion ' expect: 36
MsgBox vbDatabaseCompare ' expect: 2
