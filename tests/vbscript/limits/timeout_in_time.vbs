' options: --timeout 5000
Dim i, s
For i = 1 To 100000
  s = s + i
Next
MsgBox s ' expect: 5000050000
