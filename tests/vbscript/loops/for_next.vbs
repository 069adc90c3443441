Dim i, s
For i = 1 To 5
  s = s + i
Next
MsgBox s ' expect: 15
MsgBox i ' expect: 6
