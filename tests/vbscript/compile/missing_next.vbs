Dim i
For i = 1 To 2
  i = 3 ' expect error: 'Next' attendu