Dim i
For i = 5 To 1
  MsgBox "never"
Next
MsgBox i ' expect: 5
