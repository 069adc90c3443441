Dim a, b
a = Rnd(-3)
b = Rnd(-3)
MsgBox a = b ' expect: Vrai
MsgBox Rnd(-4) = a ' expect: Faux
