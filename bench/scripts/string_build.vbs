' String building: 1,000,000 appends with & to one string.
Dim s, i
s = ""
For i = 1 To 1000000
  s = s & "ab"
Next
MsgBox Len(s)
