' A Sub may assign to its own name; its own name alone still calls it.
Dim depth
Sub Countdown(n)
  Countdown = n
  MsgBox "at " & n
  If n > 0 Then Countdown n - 1
End Sub
Countdown 2 ' expect: at 2
' expect: at 1
' expect: at 0
Sub Once
  depth = depth + 1
  If depth < 2 Then Once
End Sub
Once
MsgBox depth ' expect: 2
Class Counter
  Public Total
  Public Property Let Value(v)
    Value = v
    Total = v * 10
  End Property
End Class
Dim c : Set c = New Counter
c.Value = 4
MsgBox c.Total ' expect: 40
