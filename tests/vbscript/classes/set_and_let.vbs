' Set stores a reference; Let stores a value, taking an object's default member.
Class Box
  Public Content
  Public Default Property Get Value
    Value = "valeur:" & Content
  End Property
End Class
Class Bare
  Public X
End Class

Dim a, b, v
Set a = New Box
a.Content = 1
Set b = a
b.Content = 2
MsgBox a.Content ' expect: 2
MsgBox a Is b ' expect: Vrai
v = a
MsgBox TypeName(v) & " " & v ' expect: String valeur:2
Set a = Nothing
MsgBox a Is Nothing ' expect: Vrai
MsgBox TypeName(b) ' expect: Box

' Array elements and fields take references too.
Dim arr(1)
Set arr(0) = b
arr(0).Content = 3
MsgBox b.Content ' expect: 3
Dim holder : Set holder = New Bare
Set holder.X = b
MsgBox holder.X.Content ' expect: 3

' A procedure can Set into its ByRef argument.
Sub Replace(target)
  Set target = New Bare
End Sub
Replace b
MsgBox TypeName(b) ' expect: Bare

On Error Resume Next
Dim n
Set n = 5
MsgBox Err.Number ' expect: 424
Err.Clear
' Let of an object without a default member.
n = New Bare
MsgBox Err.Number ' expect: 438
Err.Clear
' Set of Nothing is allowed; Let of Nothing is not.
Set n = Nothing
MsgBox Err.Number & " " & (n Is Nothing) ' expect: 0 Vrai
n = Nothing
MsgBox Err.Number ' expect: 91
