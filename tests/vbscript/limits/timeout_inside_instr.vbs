' options: --timeout 1000
' Few passes, each scanning 100 million characters: the clock is read
' inside the call, not only between statements.
Dim s, i, n
s = Space(100000000)
For i = 1 To 200
  n = n + InStr(1, s, "x", vbTextCompare) + InStr(s, "x") ' expect error: délai d'exécution dépassé
Next
MsgBox "never"
