Class Node
  Public nxt, items
End Class
Dim head, n, i, x
Set head = Nothing
For i = 1 To 200000
  Set n = New Node
  Set n.nxt = head
  n.items = Array(x)
  Set head = n
  x = Array(x, i)
Next
Set n = Nothing
Set head = Nothing
x = Empty
For i = 1 To 100000
  x = Array(x)
Next
Erase x
