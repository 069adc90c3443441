Sub S(a)
End Sub
S 1, 2 ' expect error: Nombre d'arguments incorrect
