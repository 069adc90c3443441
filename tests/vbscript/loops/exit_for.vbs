Dim i
For i = 1 To 10
  If i = 4 Then Exit For
Next
MsgBox i ' expect: 4
