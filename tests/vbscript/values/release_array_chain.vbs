' Arrays nested in arrays, released by assignment, Erase and the script's end.
Dim x, y, i, a(1)
For i = 1 To 300000
  x = Array(x)
Next
y = x
x = Empty
MsgBox IsArray(y) ' expect: Vrai
y = Empty
MsgBox "released" ' expect: released
For i = 1 To 300000
  a(0) = Array(a(0), i)
Next
Erase a
MsgBox IsEmpty(a(0)) ' expect: Vrai
For i = 1 To 300000
  x = Array(x)
Next
