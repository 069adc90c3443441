Function Add(a, b)
  Add = a + b
End Function
Sub Shout(t)
  MsgBox UCase(t)
End Sub
Dim f, g
Set f = GetRef("Add")
MsgBox f(2, 3) ' expect: 5
Set g = GetRef("shout")
g "bonjour" ' expect: BONJOUR
MsgBox TypeName(f) ' expect: Object
