' options: --timeout 200
' A counting loop spends the step budget like any other.
Dim i, s
MsgBox "start" ' expect: start
For i = 1 To 2000000000 : s = s + i : Next ' expect error: délai d'exécution dépassé
