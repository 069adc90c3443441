MsgBox Round(0.5) ' expect: 0
MsgBox Round(1.5) ' expect: 2
MsgBox Round(-2.5) ' expect: -2
MsgBox Round(1.005, 2) ' expect: 1
MsgBox Round(1.015, 2) ' expect: 1,02
MsgBox Round(1.025, 2) ' expect: 1,02
MsgBox Round(12.3456, 3) ' expect: 12,346
MsgBox IsNull(Round(Null)) ' expect: Vrai
MsgBox TypeName(Round(CSng(2.5))) ' expect: Single
MsgBox Round(7) ' expect: 7
