' Property Let and Set with several parameters: the last one is the value.
Class Grid
  Private cells(3, 3)
  Public Property Let Cell(r, c, v) : cells(r, c) = v : End Property
  Public Property Get Cell(r, c)
    If IsObject(cells(r, c)) Then Set Cell = cells(r, c) Else Cell = cells(r, c)
  End Property
  Public Property Set Cell(r, c, o) : Set cells(r, c) = o : End Property
End Class
Dim g : Set g = New Grid
g.Cell(1, 2) = "x"
MsgBox g.Cell(1, 2) ' expect: x
Set g.Cell(2, 3) = g
MsgBox TypeName(g.Cell(2, 3)) ' expect: Grid
MsgBox g.Cell(2, 3).Cell(1, 2) ' expect: x
