Sub Inc(n)
  n = n + 1
End Sub
Dim a(1)
Inc a(5) ' expect error: L'indice n'appartient pas
