Dim r, i, ok
ok = True
For i = 1 To 100
  r = Rnd
  If r < 0 Or r >= 1 Then ok = False
Next
MsgBox ok ' expect: Vrai
Randomize 5
MsgBox TypeName(Rnd()) ' expect: Single
