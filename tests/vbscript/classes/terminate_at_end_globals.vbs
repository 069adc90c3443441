Class T
  Public Name
  Private Sub Class_Terminate
    MsgBox "bye " & Name
  End Sub
End Class
Dim a, b
Set a = New T : a.Name = "a"
Set b = New T : b.Name = "b"
MsgBox "end" ' expect: end
' expect: bye a
' expect: bye b
