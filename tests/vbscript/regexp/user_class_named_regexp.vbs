Class RegExp
  Public Pattern
End Class
Dim r
Set r = New RegExp
MsgBox TypeName(r) ' expect: RegExp
