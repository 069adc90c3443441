Function Fill(n)
  Dim r()
  ReDim r(n - 1)
  Dim i
  For i = 0 To n - 1
    r(i) = i * i
  Next
  Fill = r
End Function
Dim v
v = Fill(4)
MsgBox Join(v, ",") ' expect: 0,1,4,9
