' options: --timeout 1000
' Comparing long texts spends the budget: far fewer passes than the step
' count alone needs still meet the clock.
Dim s, t, i, n
s = Space(8000000)
t = Space(8000000)
For i = 1 To 2000 ' expect error: délai d'exécution dépassé
  If s = t Then n = n + 1
Next
MsgBox "never"
