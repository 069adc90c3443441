' Call with a parenthesised callee, and with a new object's method.
Class Widget
  Public Sub Method(x) : MsgBox "method " & x : End Sub
  Public Function Make() : Set Make = Me : End Function
End Class
Sub Show(x) : MsgBox "show " & x : End Sub
Call (New Widget).Method(1) ' expect: method 1
call (((Show))) (2) ' expect: show 2
Call (Show)(3) ' expect: show 3
Call (New Widget).Make().Method(4) ' expect: method 4
