' Arrays grown and shrunk inside loops keep what they held.
Dim a(), i, s
ReDim a(0)
For i = 1 To 1000
  ReDim Preserve a(i)
  a(i) = i * 2
Next
MsgBox UBound(a) & " " & IsEmpty(a(0)) & " " & a(1) & " " & a(999) & " " & a(1000) ' expect: 1000 Vrai 2 1998 2000
ReDim Preserve a(2)
ReDim Preserve a(5)
MsgBox a(2) & " " & IsEmpty(a(3)) & " " & IsEmpty(a(5)) ' expect: 4 Vrai Vrai
For i = 0 To UBound(a) : a(i) = "x" & i : Next
ReDim Preserve a(7)
s = ""
For i = 0 To UBound(a) : s = s & a(i) & "," : Next
MsgBox s ' expect: x0,x1,x2,x3,x4,x5,,,

' A copy taken before the growth keeps its own elements and bounds.
Dim b, c
ReDim b(2) : b(0) = "a" : b(1) = "b" : b(2) = "c"
c = b
ReDim Preserve b(4)
b(0) = "z" : b(4) = "e"
MsgBox UBound(c) & " " & c(0) & c(1) & c(2) & " " & b(0) & b(4) ' expect: 2 abc ze

' ByVal gets a copy to grow, ByRef the caller's own array.
Sub GrowCopy(ByVal v)
  ReDim Preserve v(9)
  v(9) = 9
End Sub
Sub GrowOwn(ByRef v)
  ReDim Preserve v(9)
  v(9) = 9
End Sub
GrowCopy b
MsgBox UBound(b) ' expect: 4
GrowOwn b
MsgBox UBound(b) & " " & b(0) & " " & b(9) ' expect: 9 z 9

' The last dimension of a matrix grows with every element where it was.
Dim m(), r, k
ReDim m(2, 1)
For r = 0 To 2 : For k = 0 To 1 : m(r, k) = r * 10 + k : Next : Next
For k = 2 To 6
  ReDim Preserve m(2, k)
  For r = 0 To 2 : m(r, k) = r * 10 + k : Next
Next
s = ""
For r = 0 To 2 : For k = 0 To 6 : s = s & m(r, k) & " " : Next : Next
MsgBox Trim(s) ' expect: 0 1 2 3 4 5 6 10 11 12 13 14 15 16 20 21 22 23 24 25 26
