Dim m(2, 3)
m(1, 2) = 12
m(2, 3) = 23
MsgBox m(1, 2) + m(2, 3) ' expect: 35
MsgBox UBound(m, 1) & "," & UBound(m, 2) ' expect: 2,3
