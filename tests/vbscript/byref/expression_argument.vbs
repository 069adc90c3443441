Sub Inc(n)
  n = n + 1
  MsgBox n
End Sub
Inc 5 ' expect: 6
Dim a
a = 1
Inc a + 1 ' expect: 3
MsgBox a ' expect: 1
