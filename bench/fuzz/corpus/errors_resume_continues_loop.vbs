On Error Resume Next
Dim i, ok
For i = 1 To 3
  x = 1 / 0
  ok = ok + 1
Next
MsgBox ok ' expect: 3
