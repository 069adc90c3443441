Dim s
Function Bump()
  s = 100
  Bump = 1
End Function
s = 1
s = s + Bump()
MsgBox s ' expect: 2
