Dim n
For n = 1 To 3
  If n = 1 Then
    MsgBox "one"
  ElseIf n = 2 Then
    MsgBox "two"
  Else
    MsgBox "other"
  End If
Next
' expect: one
' expect: two
' expect: other
