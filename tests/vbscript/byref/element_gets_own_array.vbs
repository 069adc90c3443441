Sub SetTo(x, v)
  x = v
End Sub
Sub Nest(x)
  x = Array(g, 1)
End Sub
Dim g(2)
g(0) = "a"
SetTo g(1), g
MsgBox UBound(g(1)) & g(1)(0) ' expect: 2a
Nest g(2)
MsgBox g(2)(0)(0) & g(2)(1) ' expect: a1
