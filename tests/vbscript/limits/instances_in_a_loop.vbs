' options: --memory-limit 64
' peak below: 72
' Class instances count against the bound like texts and arrays.
Class Node
  Public nxt
End Class
Dim head, n
Set head = Nothing
Do
  Set n = New Node ' expect error: Mémoire insuffisante
  Set n.nxt = head
  Set head = n
Loop
