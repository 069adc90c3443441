Dim i
For i = 0 To 2 Junk ' expect error: Fin d'instruction attendue
  MsgBox i
Next
