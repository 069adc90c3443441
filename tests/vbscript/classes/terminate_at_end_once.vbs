Class T
  Private Sub Class_Terminate
    MsgBox "once"
  End Sub
End Class
Dim a, b
Set a = New T
Set b = a
Set a = Nothing
MsgBox "still held" ' expect: still held
' expect: once
