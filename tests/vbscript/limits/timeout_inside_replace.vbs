' options: --timeout 1000
Dim s, r
s = Space(2000000)
r = Replace(s, Space(5000) & "x", "y", 1, -1, vbTextCompare) ' expect error: délai d'exécution dépassé
MsgBox "never"
