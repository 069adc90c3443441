MsgBox StrReverse("abc") ' expect: cba
MsgBox "[" & StrReverse("") & "]" ' expect: []
MsgBox StrReverse(123) ' expect: 321
