Dim a(3)
a(0) = "x"
a(3) = "y"
MsgBox UBound(a) ' expect: 3
MsgBox a(0) & a(3) ' expect: xy
MsgBox IsEmpty(a(1)) ' expect: Vrai
