MsgBox Int(-2.5) ' expect: -3
MsgBox Fix(-2.5) ' expect: -2
MsgBox Int(2.7) ' expect: 2
MsgBox Abs(-3) ' expect: 3
MsgBox Sgn(-0.1) ' expect: -1
MsgBox Sgn(0) ' expect: 0
MsgBox Round(2.5) ' expect: 2
MsgBox Round(3.5) ' expect: 4
MsgBox Round(1.2345, 2) ' expect: 1,23
MsgBox Round(2.675, 2) ' expect: 2,68
MsgBox TypeName(Int(CInt(5))) ' expect: Integer
