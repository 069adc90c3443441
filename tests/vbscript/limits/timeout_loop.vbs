' options: --timeout 200
Dim n
MsgBox "start" ' expect: start
Do : n = n + 1 : Loop ' expect error: délai d'exécution dépassé
