Dim a()
ReDim a(2)
a(2) = "last"
ReDim Preserve a(4)
MsgBox a(2) ' expect: last
MsgBox UBound(a) ' expect: 4
ReDim a(1)
MsgBox IsEmpty(a(0)) ' expect: Vrai
