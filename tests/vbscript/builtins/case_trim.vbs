MsgBox UCase("été") ' expect: ÉTÉ
MsgBox LCase("ABC") ' expect: abc
MsgBox "[" & Trim("  x  ") & "]" ' expect: [x]
MsgBox "[" & LTrim("  x  ") & "]" ' expect: [x  ]
MsgBox "[" & RTrim("  x  ") & "]" ' expect: [  x]
