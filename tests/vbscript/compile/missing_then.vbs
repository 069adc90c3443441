Dim a
If a = 1 ' expect error: 'Then' attendu
  a = 2
End If
