' options: --timeout 1000
' One call that compares 10 billion characters: the clock is read inside
' it, not only between statements.
Dim s, n
s = Space(2000000)
n = InStr(s, Space(5000) & "x") ' expect error: délai d'exécution dépassé
MsgBox "never"
