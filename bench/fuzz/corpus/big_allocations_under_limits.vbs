On Error Resume Next
Dim s, a, i, head, n
s = Space(2147483647)
s = String(2147483647, "x")
s = Replace(Space(100000), " ", Space(20000))
s = UCase(Space(30000000)) & 1
s = Replace(Space(2500000), " ", String(19, "a") & ",")
a = Split(s, ",")
s = Join(a, s)
a = Filter(a, "a")
i = InStr(1, s, "b", vbTextCompare) + InStrRev(s, "b") + InStrB(s, "b")
Class Node
  Public nxt
End Class
Set head = Nothing
For i = 1 To 10000000
  Set n = New Node
  Set n.nxt = head
  Set head = n
Next
MsgBox Err.Number
