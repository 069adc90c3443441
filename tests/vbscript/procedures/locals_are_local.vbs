Dim x
x = "global"
Sub S
  Dim x
  x = "local"
End Sub
S
MsgBox x ' expect: global
Sub T
  x = "changed"
End Sub
T
MsgBox x ' expect: changed
