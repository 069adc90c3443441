Dim a
a = Array()
MsgBox UBound(a) ' expect: -1
a = Array(1, "two", 3.5)
MsgBox a(1) ' expect: two
MsgBox IsArray(a) ' expect: Vrai
MsgBox TypeName(a) ' expect: Variant()
MsgBox VarType(a) ' expect: 8204
