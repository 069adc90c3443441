' options: --timeout 200
Function Spin(n)
  If n > 40 Then
    Spin = 0
  Else
    Spin = Spin(n + 1) + Spin(n + 1) ' expect error: délai d'exécution dépassé
  End If
End Function
MsgBox Spin(0)
