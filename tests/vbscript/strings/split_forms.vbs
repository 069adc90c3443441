Dim p
p = Split("a,b,c,d", ",", 2)
MsgBox UBound(p) & ":" & p(1) ' expect: 1:b,c,d
p = Split("aXbxc", "x", -1, vbTextCompare)
MsgBox Join(p, "|") ' expect: a|b|c
p = Split("a b  c")
MsgBox UBound(p) ' expect: 3
p = Split("")
MsgBox UBound(p) ' expect: -1
p = Split("abc", "")
MsgBox UBound(p) & p(0) ' expect: 0abc
p = Split("a,b", ",", 0)
MsgBox UBound(p) ' expect: -1
