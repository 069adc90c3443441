' options: --timeout 3000
Dim s, i
For i = 1 To 200000
  s = s & i & ","
Next
MsgBox Len(s) ' expect: 1288895
