Dim n
n = 10
Do
  n = n + 1
Loop While n < 5
MsgBox n ' expect: 11
Do
  n = n - 1
Loop Until n <= 8
MsgBox n ' expect: 8
