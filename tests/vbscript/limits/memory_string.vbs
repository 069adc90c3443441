' options: --memory-limit 64
Dim s
s = "xxxxxxxx"
Do
  s = s & s ' expect error: Mémoire insuffisante
Loop
