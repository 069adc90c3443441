Dim m()
ReDim m(2, 3)
m(2, 3) = 23
ReDim Preserve m(2, 5)
MsgBox m(2, 3) ' expect: 23
ReDim Preserve m(3, 5) ' expect error: L'indice n'appartient pas à la sélection
