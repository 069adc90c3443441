Sub Inc(n)
  n = n + 1
End Sub
Dim a, b
a = Array(1, 2)
b = a
Inc a(0)
MsgBox a(0) & b(0) ' expect: 21
