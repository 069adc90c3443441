' Each call starts with Empty variables and an Empty result, whatever the
' caller's expressions left behind, and gives up its own values on return.
Function Unassigned()
End Function
Function LocalType()
  Dim y
  LocalType = TypeName(y)
End Function
Dim a, b
a = 1 : b = 2
MsgBox CStr(a < b) & TypeName(Unassigned()) ' expect: VraiEmpty
MsgBox (a + b) & "," & (a < b) & "," & LocalType() ' expect: 3,Vrai,Empty
If a < b Then MsgBox TypeName(Unassigned) ' expect: Empty

Class Tracer
  Public Name
  Private Sub Class_Terminate : MsgBox "end " & Name : End Sub
End Class
Function Traced(n)
  Dim t
  Set t = New Tracer
  t.Name = n
  Traced = n * 2
End Function
MsgBox Traced(4) ' expect: end 4
' expect: 8
Function Twice(ByVal v, ByRef w)
  v = v * 2 : w = w * 2
  Twice = v + w
End Function
Dim p, q
p = 3 : q = 5
MsgBox Twice(p, q) & " " & p & " " & q ' expect: 16 3 10
