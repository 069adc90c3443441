On Error Resume Next
If 1 / 0 = 1 Then
  MsgBox "inside" ' expect: inside
End If
