' A linked list far longer than the native stack could follow recursively.
Class Node
  Public nxt
End Class
Dim head, n, i
Set head = Nothing
For i = 1 To 200000
  Set n = New Node
  Set n.nxt = head
  Set head = n
Next
Set n = Nothing
Set head = Nothing
MsgBox "released" ' expect: released
For i = 1 To 200000
  Set n = New Node
  Set n.nxt = head
  Set head = n
Next
Set n = Nothing
MsgBox "left to the end" ' expect: left to the end
