Dim e
MsgBox e + 1 ' expect: 1
MsgBox TypeName(e + e) ' expect: Integer
MsgBox IsNull(Null + 1) ' expect: Vrai
MsgBox "a" & Null ' expect: a
MsgBox IsNull(Null & Null) ' expect: Vrai
MsgBox IsNull(Null = 1) ' expect: Vrai
MsgBox e & "x" ' expect: x
