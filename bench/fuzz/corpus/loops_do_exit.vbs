Dim n
Do
  n = n + 1
  If n = 7 Then Exit Do
Loop
MsgBox n ' expect: 7
