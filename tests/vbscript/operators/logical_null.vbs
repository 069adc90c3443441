MsgBox Null And False ' expect: Faux
MsgBox IsNull(Null And True) ' expect: Vrai
MsgBox Null Or True ' expect: Vrai
MsgBox IsNull(Null Or False) ' expect: Vrai
MsgBox IsNull(Not Null) ' expect: Vrai
