Sub SetTo(x, v)
  x = v
End Sub
Dim g(2, 3)
SetTo g(1, 2), "ok"
MsgBox g(1, 2) ' expect: ok
ReDim d(4)
SetTo d(4), 42
MsgBox d(4) ' expect: 42
