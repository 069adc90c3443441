' options: --timeout 2000
' One call that scans 100 million characters for seconds: the clock is read
' inside it, not only between statements.
Dim s, n
s = Space(100000000)
n = InStr(1, s, "x", vbTextCompare) ' expect error: délai d'exécution dépassé
MsgBox "never"
