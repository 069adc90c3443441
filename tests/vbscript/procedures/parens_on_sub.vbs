Sub S(a, b)
End Sub
S(1, 2) ' expect error: Impossible d'utiliser des parenthèses
