' options: --timeout 200
' A loop whose body is one array statement spends the step budget like any other.
Dim a(0), i, k, s
a(0) = 1
MsgBox "start" ' expect: start
For i = 1 To 2000000000 : s = s + a(k) : Next ' expect error: délai d'exécution dépassé
