Dim a
ReDim a(3)
Sub Clear(x)
  Erase a ' expect error: verrouill
End Sub
Clear a(1)
