Sub Inner(y)
  y = y & "!"
End Sub
Sub Outer(x)
  Inner x
End Sub
Dim a(1)
a(1) = "hi"
Outer a(1)
MsgBox a(1) ' expect: hi!
