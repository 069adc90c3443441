Dim a(2)
a(3) = 1 ' expect error: L'indice n'appartient pas à la sélection
