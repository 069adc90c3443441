MsgBox TypeName(Now) ' expect: Date
MsgBox Int(Now) = Date ' expect: Vrai
MsgBox Time < 1 ' expect: Vrai
MsgBox Timer >= 0 ' expect: Vrai
