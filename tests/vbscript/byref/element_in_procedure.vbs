Sub Double(x)
  x = x * 2
End Sub
Sub Test
  Dim arr
  arr = Array(1, 2, 3)
  Double arr(2)
  MsgBox Join(arr, ",")
End Sub
Test ' expect: 1,2,6
