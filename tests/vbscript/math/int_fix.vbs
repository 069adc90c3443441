MsgBox Int(-7.5) & " " & Fix(-7.5) ' expect: -8 -7
MsgBox Int(7.9) & " " & Fix(7.9) ' expect: 7 7
MsgBox IsNull(Int(Null)) & IsNull(Fix(Null)) ' expect: VraiVrai
MsgBox TypeName(Int("2,5")) ' expect: Double
MsgBox Int(Empty) ' expect: 0
MsgBox TypeName(Fix(CCur(2.5))) ' expect: Currency
