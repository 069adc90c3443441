MsgBox IsNull(StrComp(Null, "a")) ' expect: Vrai
MsgBox IsNull(StrComp("a", Null, 1)) ' expect: Vrai
MsgBox StrComp(Empty, "") ' expect: 0
