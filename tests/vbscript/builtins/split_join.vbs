Dim parts
parts = Split("a,b,,c", ",")
MsgBox UBound(parts) ' expect: 3
MsgBox parts(3) ' expect: c
MsgBox Join(parts, "|") ' expect: a|b||c
MsgBox Join(Split("x y z")) ' expect: x y z
MsgBox UBound(Split("")) ' expect: -1
MsgBox UBound(Split("a,b,c", ",", 2)) ' expect: 1
