Dim a, b
a = Array(1, 2)
b = a
b(0) = 99
MsgBox a(0) ' expect: 1
MsgBox b(0) ' expect: 99
