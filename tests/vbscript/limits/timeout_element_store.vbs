' options: --timeout 200
' A loop whose body is one array store spends the step budget like any other.
Dim a(0), i, k
MsgBox "start" ' expect: start
For i = 1 To 2000000000 : a(k) = i + k : Next ' expect error: délai d'exécution dépassé
