' a(i) with the index in a variable: every kind of index and of holder.
Dim a(3), i, s, t, x
For i = 0 To 3 : a(i) = i * i : Next
For i = 0 To 3 : s = s + a(i) : Next
MsgBox s ' expect: 14
i = "2"
MsgBox a(i) ' expect: 4
i = 2.6
MsgBox a(i) ' expect: 9
i = True
On Error Resume Next
x = a(i)
MsgBox Err.Number ' expect: 9
Err.Clear
For i = 0 To 4
  x = a(i)
Next
MsgBox Err.Number & " " & i ' expect: 9 5
Err.Clear
t = "text"
i = 1
x = t(i)
MsgBox Err.Number ' expect: 13
Err.Clear
i = Null
x = a(i)
MsgBox Err.Number ' expect: 94
On Error GoTo 0
Sub Twice(ByRef v, ByRef k)
  v(k) = v(k) * 2
End Sub
i = 3
Twice a, i
MsgBox a(3) ' expect: 18
Dim n(1)
For i = 0 To 1 : n(i) = Array(i, i + 1) : Next
MsgBox n(1)(1) & " " & UBound(n(0)) ' expect: 2 1
For i = 0 To 5
  a(i) = i ' expect error: L'indice n'appartient pas à la sélection
Next
