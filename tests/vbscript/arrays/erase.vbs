Dim a(1), d()
a(0) = 5
Erase a
MsgBox IsEmpty(a(0)) ' expect: Vrai
ReDim d(3)
Erase d
MsgBox UBound(d) ' expect error: L'indice n'appartient pas à la sélection
