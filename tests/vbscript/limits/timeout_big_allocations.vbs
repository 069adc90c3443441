' options: --timeout 100
' Few passes, each filling a big array: the guard still meets the clock.
Dim i, big
For i = 1 To 1000 ' expect error: délai d'exécution dépassé
  ReDim big(2000000)
Next
MsgBox "never"
