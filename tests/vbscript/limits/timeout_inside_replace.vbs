' options: --timeout 1000
Dim s, i, n
s = Space(30000000)
For i = 1 To 200
  n = n + Len(Replace(s, " ", "ab")) + Len(UCase(s)) + InStrB(s, "x") ' expect error: délai d'exécution dépassé
Next
MsgBox "never"
