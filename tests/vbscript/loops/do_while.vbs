Dim n
n = 0
Do While n < 3
  n = n + 1
Loop
MsgBox n ' expect: 3
Do Until n = 0
  n = n - 1
Loop
MsgBox n ' expect: 0
