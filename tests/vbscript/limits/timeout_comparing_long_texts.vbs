' options: --timeout 1000
' Comparing long texts spends the budget as it goes.
Dim s, t, i, n
s = Space(50000000)
t = Space(50000000)
For i = 1 To 200 : n = n + Abs(s = t) : Next ' expect error: délai d'exécution dépassé
MsgBox "never"
