' options: --timeout 200
On Error Resume Next
Dim n
While True : n = n + 1 : Wend ' expect error: délai d'exécution dépassé
MsgBox "never"
