Sub Inner
  Dim z
  z = CLng("bad") ' expect error: Type incompatible: 'CLng'
End Sub
Inner
