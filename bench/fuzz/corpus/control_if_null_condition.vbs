If Null Then
  MsgBox "then"
Else
  MsgBox "else" ' expect: else
End If
