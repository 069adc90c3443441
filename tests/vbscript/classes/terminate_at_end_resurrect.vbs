Dim keep
Class T
  Private Sub Class_Terminate
    MsgBox "terminate"
    Set keep = Me
  End Sub
End Class
Set keep = New T
' expect: terminate
