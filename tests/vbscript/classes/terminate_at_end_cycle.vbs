Class Node
  Public Name, Other
  Private Sub Class_Terminate
    MsgBox "bye " & Name
  End Sub
End Class
Sub MakeCycle
  Dim x, y
  Set x = New Node : x.Name = "x"
  Set y = New Node : y.Name = "y"
  Set x.Other = y
  Set y.Other = x
End Sub
MakeCycle
MsgBox "end" ' expect: end
' expect: bye x
' expect: bye y
