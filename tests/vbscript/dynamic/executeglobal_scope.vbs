Dim x
x = "global"
Sub Test
  Dim x
  x = "local"
  ExecuteGlobal "x = x & "" changed"""
  MsgBox x
End Sub
Test ' expect: local
MsgBox x ' expect: global changed
