MsgBox Replace("aaaa", "a", "b", 1, 2) ' expect: bbaa
MsgBox Replace("aaaa", "a", "b", 2, 1) ' expect: baa
MsgBox Replace("AbAb", "ab", "x", 1, -1, vbTextCompare) ' expect: xx
MsgBox Replace("abc", "", "x") ' expect: abc
MsgBox Replace("abc", "b", "") ' expect: ac
MsgBox "[" & Replace("abc", "a", "x", 4) & "]" ' expect: []
MsgBox IsNull(Replace(Null, "a", "b")) ' expect: Vrai
MsgBox Replace("abc", "b", "x", 1, 0) ' expect: abc
