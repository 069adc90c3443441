Dim n
n = 5
If n > 3 Then
  MsgBox "big" ' expect: big
ElseIf n > 1 Then
  MsgBox "medium"
Else
  MsgBox "small"
End If
If n = 0 Then
  MsgBox "zero"
Else
  MsgBox "not zero" ' expect: not zero
End If
