Dim a, x, s
a = Array(1, 2, 3)
For Each x In a
  s = s + x
Next
MsgBox s ' expect: 6
For Each x In Array("a", "b")
  MsgBox x
Next
' expect: a
' expect: b
