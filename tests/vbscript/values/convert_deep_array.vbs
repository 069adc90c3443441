' Arrays nested too deep for an object to receive them.
Dim x, i, r
For i = 1 To 300000
  x = Array(x)
Next
Set r = New RegExp
On Error Resume Next
r.Pattern = x
MsgBox Err.Number ' expect: 28
On Error GoTo 0
x = Array(Array(Array("a")))
r.Pattern = x(0)(0)(0)
MsgBox r.Pattern ' expect: a
