MsgBox CCur(1.23456) ' expect: 1,2346
MsgBox TypeName(CCur(1)) ' expect: Currency
MsgBox CCur("2,5") * 2 ' expect: 5
MsgBox CCur(Empty) ' expect: 0
MsgBox VarType(CCur(3)) ' expect: 6
