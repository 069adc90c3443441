' a(i) = v + w and s = s + a(i) on plain variables run as one instruction,
' and loops whose whole body is one of them run without dispatching: the
' same results, types and errors as the statements' general code.
Class Resets
  Public Default Function Item(k)
    s = 100
    Item = k
  End Function
End Class
Dim a(5), b, i, k, s, t
k = 32765
For i = 0 To 5 : a(i) = i + k : Next
MsgBox TypeName(a(0)) & " " & TypeName(a(3)) & " " & a(5) ' expect: Integer Long 32770
k = 2147483645
For i = 0 To 5 : a(i) = i + k : Next
MsgBox TypeName(a(2)) & " " & TypeName(a(3)) & " " & a(5) ' expect: Long Double 2147483650
k = 0.5
For i = 5 To 0 Step -2 : a(i) = i + k : Next
MsgBox a(5) & " " & a(1) & " " & a(0) ' expect: 5,5 1,5 2147483645
' The array shared with b: the store copies it first.
b = a
For i = 0 To 5 : a(i) = i + i : Next
MsgBox a(5) & " " & b(5) ' expect: 10 5,5
' An element holding a string, an index given as text.
a(2) = "text"
For i = 0 To 5 : a(i) = i + i : Next
MsgBox TypeName(a(2)) & " " & a(2) ' expect: Integer 4
i = "3"
a(i) = i + k
MsgBox a(3) ' expect: 3,5
' A counter leaving the Long range after the statement.
k = 1
For i = 2147483646 To 2147483647 : a(k) = i + k : Next
MsgBox TypeName(i) & " " & i & " " & a(1) ' expect: Double 2147483648 2147483648
On Error Resume Next
For i = 4 To 6 : a(i) = i + i : Next
MsgBox Err.Number & " " & i & " " & a(5) ' expect: 9 7 10
On Error GoTo 0

For i = 0 To 5 : a(i) = i : Next
s = 0
For i = 0 To 5 : s = s + a(i) : Next
MsgBox TypeName(s) & " " & s ' expect: Integer 15
a(3) = "7"
a(4) = Empty
s = 0
For i = 0 To 5 : s = s + a(i) : Next
MsgBox TypeName(s) & " " & s ' expect: Double 15
s = 0
k = 5
For i = 2147483646 To 2147483647 : s = s + a(k) : Next
MsgBox TypeName(i) & " " & i & " " & s ' expect: Double 2147483648 10
' a(i) an object's default member that changes s: s was read before.
Set b = New Resets
s = 1
For i = 1 To 3 : s = s + b(i) : Next
MsgBox s ' expect: 7
' A function's own name with an argument is a call, even while its value is an array.
Function Chain(n)
  Dim k, total
  If n = 0 Then Exit Function
  Chain = Array(7, 7)
  k = n - 1
  total = n
  total = total + Chain(k)
  Chain = total
End Function
MsgBox Chain(2) ' expect: 3
' A sum leaving the Double range mid-loop: the error, and the loop goes on.
k = 0
a(k) = 6E+307
s = 0
t = a(k)
On Error Resume Next
For i = 1 To 3 : s = s + a(k) : Next
MsgBox Err.Number & " " & i & " " & (s = 2 * t) ' expect: 6 4 Vrai
On Error GoTo 0
t = "x"
i = 1
  a(i) = i + t ' expect error: Type incompatible
' expect column: 12
