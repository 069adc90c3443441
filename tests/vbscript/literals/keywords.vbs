MsgBox True ' expect: Vrai
MsgBox False ' expect: Faux
MsgBox IsEmpty(Empty) ' expect: Vrai
MsgBox IsNull(Null) ' expect: Vrai
MsgBox TypeName(Nothing) ' expect: Nothing
