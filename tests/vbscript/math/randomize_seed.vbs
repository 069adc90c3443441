Dim first(2), i, same
Rnd -1
Randomize 42
For i = 0 To 2
  first(i) = Rnd
Next
Rnd -1
Randomize 42
same = True
For i = 0 To 2
  If Rnd <> first(i) Then same = False
Next
MsgBox same ' expect: Vrai
Randomize
MsgBox Rnd >= 0 ' expect: Vrai
