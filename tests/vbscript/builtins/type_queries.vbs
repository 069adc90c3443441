Dim e
MsgBox IsEmpty(e) ' expect: Vrai
MsgBox IsNumeric("12") ' expect: Vrai
MsgBox IsNumeric("1,5") ' expect: Vrai
MsgBox IsNumeric("abc") ' expect: Faux
MsgBox IsNumeric(Empty) ' expect: Vrai
MsgBox IsObject(Nothing) ' expect: Vrai
MsgBox TypeName(1.5) ' expect: Double
MsgBox TypeName("s") ' expect: String
MsgBox TypeName(True) ' expect: Boolean
MsgBox TypeName(Empty) ' expect: Empty
MsgBox TypeName(Null) ' expect: Null
MsgBox VarType("s") ' expect: 8
MsgBox VarType(CLng(1)) ' expect: 3
