Dim x
x = "global"
Sub Test
  Dim x
  x = "local"
  Execute "x = x & "" changed"""
  MsgBox x
End Sub
Test ' expect: local changed
MsgBox x ' expect: global
