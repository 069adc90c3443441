' options: --memory-limit 64
Dim a, n
n = 1
Do
  ReDim Preserve a(n) ' expect error: Mémoire insuffisante
  n = n * 2
Loop
