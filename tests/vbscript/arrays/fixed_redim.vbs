Dim a(2)
ReDim a(5) ' expect error: Ce tableau est fixe ou temporairement verrouillé
