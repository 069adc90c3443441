Sub Swap(a, b)
  Dim t
  t = a : a = b : b = t
End Sub
Sub Test
  Dim x, y
  x = 1 : y = 2
  Swap x, y
  MsgBox x & y
End Sub
Test ' expect: 21
