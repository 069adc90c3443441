Function Scale(n)
  Dim factor
  factor = 10
  Scale = Eval("n * factor")
End Function
MsgBox Scale(4) ' expect: 40
