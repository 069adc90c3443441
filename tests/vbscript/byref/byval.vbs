Sub Change(ByVal n)
  n = 100
End Sub
Dim a
a = 1
Change a
MsgBox a ' expect: 1
