Dim s
s = String(1000, "x")
Do
  s = s & s ' expect error: Mémoire insuffisante
Loop
