Function F(x)
  F = "early"
  If x Then Exit Function
  F = "late"
End Function
MsgBox F(True) ' expect: early
MsgBox F(False) ' expect: late
Sub S
  MsgBox "in" ' expect: in
  Exit Sub
  MsgBox "never"
End Sub
S
