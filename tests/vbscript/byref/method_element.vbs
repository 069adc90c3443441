Class Tool
  Public Sub Inc(n)
    n = n + 1
  End Sub
End Class
Dim t, a(0)
Set t = New Tool
a(0) = 1
t.Inc a(0)
MsgBox a(0) ' expect: 2
