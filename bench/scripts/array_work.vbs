' Array work: fill a 1,000,000-element array, then sum it, five times.
Dim a(999999), i, pass, total
total = 0
For pass = 1 To 5
  For i = 0 To 999999
    a(i) = i + pass
  Next
  For i = 0 To 999999
    total = total + a(i)
  Next
Next
MsgBox total
