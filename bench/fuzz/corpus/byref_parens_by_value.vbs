Sub Inc(n)
  n = n + 1
End Sub
Dim a
a = 1
Inc (a)
MsgBox a ' expect: 1
Inc a
MsgBox a ' expect: 2
