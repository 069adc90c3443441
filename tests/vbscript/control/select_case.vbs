Function Name(n)
  Select Case n
    Case 1
      Name = "one"
    Case 2, 3
      Name = "two or three"
    Case "x"
      Name = "ex"
    Case Else
      Name = "other"
  End Select
End Function
MsgBox Name(1) ' expect: one
MsgBox Name(3) ' expect: two or three
MsgBox Name("x") ' expect: ex
MsgBox Name(9) ' expect: other
