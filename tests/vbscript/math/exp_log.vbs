MsgBox Exp(0) ' expect: 1
MsgBox Round(Exp(1), 6) ' expect: 2,718282
MsgBox Log(1) ' expect: 0
MsgBox Round(Log(100) / Log(10), 10) ' expect: 2
MsgBox Exp(Empty) ' expect: 1
