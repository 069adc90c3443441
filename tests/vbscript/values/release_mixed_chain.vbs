' Instances holding arrays holding instances, each with Class_Terminate.
Class Node
  Public items
  Private Sub Class_Terminate
    ended = ended + 1
  End Sub
End Class
Dim head, n, i, ended
ended = 0
For i = 1 To 150000
  Set n = New Node
  n.items = Array(head, i)
  Set head = n
Next
Set n = Nothing
head = Empty
MsgBox ended ' expect: 150000
