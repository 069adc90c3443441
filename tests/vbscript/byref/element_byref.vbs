Sub Inc(n)
  n = n + 1
End Sub
Dim a(2)
a(1) = 5
Inc a(1)
MsgBox a(1) ' expect: 6
Inc (a(1))
MsgBox a(1) ' expect: 6
