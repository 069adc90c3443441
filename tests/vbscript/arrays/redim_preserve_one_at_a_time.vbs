' options: --timeout 5000
' Growing by one element at a time stays linear: each step must not copy
' the whole array again.
Dim a(), i
ReDim a(0)
For i = 1 To 300000
  ReDim Preserve a(i)
  a(i) = i
Next
MsgBox UBound(a) & " " & a(300000) ' expect: 300000 300000
