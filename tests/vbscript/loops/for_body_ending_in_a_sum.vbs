' A body ending in v = v + w: the sum and the Next behave as two statements.
Dim i, s, t
For i = 32760 To 32770 : s = s + i : Next
MsgBox TypeName(i) & " " & i & " " & s ' expect: Long 32771 360415
s = 0
For i = 2147483640 To 2147483647 : s = s + i : Next
MsgBox TypeName(i) & " " & i & " " & s ' expect: Double 2147483648 17179869148
s = 0
For i = 10 To 1 Step -3 : s = s + i : Next
MsgBox s & " " & i ' expect: 22 -2
For i = 1 To 100 : i = i + i : Next
MsgBox i ' expect: 127
s = 0
t = 0.5
For i = 1 To 3 : s = s + t : Next
MsgBox s & " " & i ' expect: 1,5 4
On Error Resume Next
s = "x"
For i = 1 To 3 : s = s + i : Next
MsgBox Err.Number & " " & i & " " & s ' expect: 13 4 x
On Error GoTo 0
Function Total(n)
  Dim k, sum
  For k = CLng(1) To n : sum = sum + k : Next
  Total = sum & " " & k
End Function
MsgBox Total(5) ' expect: 15 6
MsgBox "[" & Total(0) & "]" ' expect: [ 1]
' A sum leaving the Double range mid-loop: the error, and the loop goes on.
t = 6E+307
s = 0
On Error Resume Next
For i = 1 To 3 : s = s + t : Next
MsgBox Err.Number & " " & i & " " & (s = 2 * t) ' expect: 6 4 Vrai
On Error GoTo 0
