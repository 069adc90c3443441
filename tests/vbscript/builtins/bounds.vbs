Dim a(4, 2)
MsgBox LBound(a) ' expect: 0
MsgBox UBound(a, 2) ' expect: 2
MsgBox UBound(a, 3) ' expect error: L'indice n'appartient pas à la sélection
