Sub Show(a, b)
  MsgBox a & "-" & b
End Sub
Show 1, 2 ' expect: 1-2
Call Show(3, 4) ' expect: 3-4
