Dim a(2), b()
a(1) = "x"
ReDim b(3) : b(0) = "y"
Erase a, b
MsgBox "[" & a(1) & "]" ' expect: []
MsgBox UBound(b) ' expect error: L'indice n'appartient pas à la sélection
