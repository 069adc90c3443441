MsgBox Round(Atn(1) * 4, 10) ' expect: 3,1415926536
MsgBox Cos(0) ' expect: 1
MsgBox Sin(0) ' expect: 0
MsgBox Round(Tan(Atn(1)), 10) ' expect: 1
MsgBox TypeName(Sin(1)) ' expect: Double
MsgBox Round(Sin(Atn(1) * 2), 12) ' expect: 1
