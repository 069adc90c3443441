' Property Let and Property Set take arguments before the value.
Class Grid
  Private cells(3, 3)
  Private held
  Public Property Get Cell(r, c)
    Cell = cells(r, c)
  End Property
  Public Property Let Cell(r, c, v)
    cells(r, c) = v
  End Property
  Public Property Get Thing(k)
    Set Thing = held
  End Property
  Public Property Set Thing(k, o)
    Set held = o
    MsgBox "set " & k
  End Property
End Class

Dim g : Set g = New Grid
g.Cell(1, 2) = "x"
MsgBox g.Cell(1, 2) ' expect: x
MsgBox IsEmpty(g.Cell(2, 1)) ' expect: Vrai
g.Cell(1, 2) = g.Cell(1, 2) & "y"
MsgBox g.Cell(1, 2) ' expect: xy
' The arguments are evaluated before the value, left to right.
Dim order
Function Note(x) : order = order & x : Note = x : End Function
g.Cell(Note(0), Note(1)) = Note(2)
MsgBox order ' expect: 012
Set g.Thing("a") = New Grid ' expect: set a
MsgBox TypeName(g.Thing("a")) ' expect: Grid
With g
  .Cell(3, 3) = 9
  MsgBox .Cell(3, 3) ' expect: 9
End With
g.Cell(1) = 1 ' expect error: Nombre d'arguments incorrect
