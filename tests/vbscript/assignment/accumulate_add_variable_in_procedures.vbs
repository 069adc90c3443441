' The same with locals, ByRef parameters, class fields and an object's default member.
Class Counter
  Public Total
  Public Default Property Get Value
    Value = 10
  End Property
  Sub AddTo(n)
    Total = Total + n
  End Sub
End Class
Sub Sum(acc, byValue)
  Dim local : local = 5
  acc = acc + local
  acc = acc + byValue
End Sub
Dim t : t = 1
Sum t, 2
MsgBox t ' expect: 8
Dim c : Set c = New Counter
c.Total = 1
c.AddTo 4
MsgBox c.Total ' expect: 5
Dim s : s = 1
s = s + c
MsgBox s ' expect: 11
' Dynamic code reaches the caller's variables and the globals the same way.
Dim h : h = 4
Sub Dynamic
  Dim a, b
  a = 1 : b = 2
  Execute "a = a + b"
  MsgBox a ' expect: 3
  ExecuteGlobal "g = 5 : g = g + h"
End Sub
Dynamic
MsgBox g ' expect: 9
