MsgBox Later(2) ' expect: 4
Function Later(n)
  Later = n + n
End Function
