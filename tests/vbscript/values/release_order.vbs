' Class_Terminate runs depth first, fields in order, as a recursive release would;
' what a handler releases ends before the handler goes on.
Class Node
  Public name, a, b
  Private Sub Class_Terminate
    MsgBox "end " & name
    If name = "b" Then
      keep = Empty
      MsgBox "after keep"
    End If
  End Sub
End Class
Function Make(name)
  Set Make = New Node
  Make.name = name
End Function
Dim root, keep
Set root = Make("root")
Set root.a = Make("a")
Set root.a.a = Make("a1")
Set root.a.b = Make("a2")
Set root.b = Make("b")
Set root.b.a = Make("b1")
keep = Array(Make("kept"))
Set root = Nothing
' expect: end root
' expect: end a
' expect: end a1
' expect: end a2
' expect: end b
' expect: end kept
' expect: after keep
' expect: end b1
MsgBox "done" ' expect: done
