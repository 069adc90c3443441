Dim a, b
a = Rnd
b = Rnd(0)
MsgBox a = b ' expect: Vrai
MsgBox Rnd(0) = b ' expect: Vrai
MsgBox TypeName(Rnd) ' expect: Single
