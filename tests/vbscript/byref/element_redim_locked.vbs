Dim a
ReDim a(3)
Sub Grow(x)
  ReDim a(10) ' expect error: verrouill
End Sub
Grow a(1)
