Class Tracked
  Private Sub Class_Initialize
    MsgBox "init"
  End Sub
  Private Sub Class_Terminate
    MsgBox "term"
  End Sub
End Class
Dim t
Set t = New Tracked ' expect: init
Set t = Nothing ' expect: term
MsgBox "after" ' expect: after
