Class Bad
  Private Sub Class_Terminate
    MsgBox "before"
    Err.Raise 5
    MsgBox "never"
  End Sub
End Class
Class Good
  Private Sub Class_Terminate
    MsgBox "good"
  End Sub
End Class
Dim b, g
Set b = New Bad
Set g = New Good
' expect: before
' expect: good
