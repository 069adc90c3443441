' 10 million iterations of s = s + i.
Dim i, s
s = 0
For i = 1 To 10000000
  s = s + i
Next
MsgBox s
