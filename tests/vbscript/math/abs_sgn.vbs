MsgBox Abs(-2.5) & " " & Abs(3) ' expect: 2,5 3
MsgBox IsNull(Abs(Null)) ' expect: Vrai
MsgBox Sgn(5) & Sgn(-5) & Sgn(0) ' expect: 1-10
MsgBox TypeName(Abs(-32768)) ' expect: Long
