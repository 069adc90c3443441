' options: --timeout 2000
Dim s, r
s = Space(100000000)
r = Replace(s, "x", "y", 1, -1, vbTextCompare) ' expect error: délai d'exécution dépassé
MsgBox "never"
