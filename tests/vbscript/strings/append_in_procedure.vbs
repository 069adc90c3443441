Function Build(n)
  Dim s, i
  For i = 1 To n
    s = s & i Mod 10
  Next
  Build = s
End Function
MsgBox Build(12) ' expect: 123456789012
