Function Deep(n)
  Deep = Deep(n + 1)
End Function
On Error Resume Next
Deep 1
MsgBox Err.Number ' expect: 28
MsgBox Err.Description ' expect: Espace pile insuffisant
