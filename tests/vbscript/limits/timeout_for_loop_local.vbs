' options: --timeout 200
Sub Spin
  Dim i, s
  For i = 1 To 2000000000 : s = s + i : Next ' expect error: délai d'exécution dépassé
End Sub
MsgBox "start" ' expect: start
Spin
