Sub Change(ByVal n)
  n = 100
End Sub
Dim a(1)
a(0) = 1
Change a(0)
MsgBox a(0) ' expect: 1
