MsgBox Mid("abcdef", 2, 3) ' expect: bcd
MsgBox Mid("abcdef", 4) ' expect: def
MsgBox "[" & Mid("abc", 5) & "]" ' expect: []
MsgBox Mid("abc", 2, 100) ' expect: bc
MsgBox IsNull(Mid(Null, 1)) ' expect: Vrai
MsgBox Left("abc", 10) & Right("abc", 10) ' expect: abcabc
MsgBox IsNull(Left(Null, 1)) ' expect: Vrai
MsgBox Len(12345) ' expect: 5
MsgBox IsNull(Len(Null)) ' expect: Vrai
