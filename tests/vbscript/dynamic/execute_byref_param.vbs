Sub Bump(n)
  Execute "n = n + 1"
End Sub
Dim v
v = 1
Bump v
MsgBox v ' expect: 2
