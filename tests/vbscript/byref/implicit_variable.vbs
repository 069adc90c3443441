Sub Inc(n)
  n = n + 1
End Sub
Inc fresh
MsgBox fresh ' expect: 1
