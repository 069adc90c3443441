Dim i, j, hits
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    hits = hits + 1
  Next
Next
MsgBox hits ' expect: 3
