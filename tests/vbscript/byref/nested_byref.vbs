Sub Inner(x)
  x = x & "!"
End Sub
Sub Outer(y)
  Inner y
End Sub
Dim s
s = "hi"
Outer s
MsgBox s ' expect: hi!
