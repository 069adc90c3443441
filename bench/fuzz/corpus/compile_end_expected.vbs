Sub S
  MsgBox 1
End Function ' expect error: 'Sub' attendu
