' Amortised linear & building: 200,000 appends of a number to one string.
Dim s, i
For i = 1 To 200000
  s = s & i
Next
MsgBox Len(s)
