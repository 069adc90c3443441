Dim s, i
For i = 1 To 1000
  s = s & "x"
Next
MsgBox Len(s) ' expect: 1000
Dim t
t = s
s = s & "y"
MsgBox Len(t) ' expect: 1000
MsgBox Right(s, 2) ' expect: xy
