Sub Fails
  Dim a
  a = 1 / 0
  MsgBox "not reached"
End Sub
On Error Resume Next
Fails
MsgBox Err.Number ' expect: 11
MsgBox "continued" ' expect: continued
