Dim i, ok, r
ok = True
Randomize 7
For i = 1 To 1000
  r = Rnd
  If r < 0 Or r >= 1 Then ok = False
Next
MsgBox ok ' expect: Vrai
MsgBox Int(Rnd * 6) + 1 <= 6 ' expect: Vrai
