Sub Inc(n)
  n = n + 1
End Sub
Class Counter
  Public items(2)
  Public Sub Bump
    items(1) = 10
    Inc items(1)
  End Sub
End Class
Dim c
Set c = New Counter
c.Bump
MsgBox c.items(1) ' expect: 11
