Sub Inc(n)
  n = n + 1
End Sub
Dim f, v
Set f = GetRef("Inc")
v = 1
f v
MsgBox v ' expect: 2
