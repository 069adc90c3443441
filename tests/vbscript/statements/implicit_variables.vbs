x = 5
MsgBox x ' expect: 5
Sub S
  y = 7
  MsgBox y
End Sub
S ' expect: 7
MsgBox IsEmpty(y) ' expect: Vrai
