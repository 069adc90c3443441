Class Counter
  Public Count
  Public Sub Add(n)
    Count = Count + n
  End Sub
End Class
Dim c
Set c = New Counter
c.Add 2
c.Add 3
MsgBox c.Count ' expect: 5
