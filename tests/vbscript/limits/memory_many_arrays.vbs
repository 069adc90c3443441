' options: --memory-limit 32
Dim keep(1000), i, big
For i = 0 To 1000
  ReDim big(100000) ' expect error: Mémoire insuffisante
  keep(i) = big
Next
