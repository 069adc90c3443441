' options: --memory-limit 32
' Running out is an ordinary error: releasing the instances gives the memory back.
Class Node
  Public nxt, tag
End Class
Dim head, n, count, failure
Set head = Nothing
On Error Resume Next
Do While Err.Number = 0
  Set n = New Node
  If Err.Number = 0 Then
    Set n.nxt = head
    Set head = n
    count = count + 1
  End If
Loop
failure = Err.Number
Err.Clear
Set n = Nothing
Set head = Nothing
MsgBox failure & " " & (count > 100000) ' expect: 7 Vrai
count = 0
Do While count < 1000
  Set n = New Node
  count = count + 1
Loop
MsgBox count & " " & Err.Number ' expect: 1000 0
