Sub Accumulate(total, n)
  total = total + n
End Sub
Dim t
t = 1
Accumulate t, 41
MsgBox t ' expect: 42
