Dim a
a = 1 ? 2 ' expect error: Caractère non valide
