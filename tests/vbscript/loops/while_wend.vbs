Dim n
While n < 4
  n = n + 2
Wend
MsgBox n ' expect: 4
