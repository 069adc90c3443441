Dim n, i, count
n = 3
For i = 1 To n
  n = 10
  count = count + 1
Next
MsgBox count ' expect: 3
