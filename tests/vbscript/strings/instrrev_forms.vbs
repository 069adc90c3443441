MsgBox InStrRev("aXbXc", "x", -1, vbTextCompare) ' expect: 4
MsgBox InStrRev("abcabc", "abc") ' expect: 4
MsgBox InStrRev("abcabc", "abc", 5) ' expect: 1
MsgBox InStrRev("abc", "z") ' expect: 0
MsgBox InStrRev("abc", "", 2) ' expect: 2
MsgBox InStrRev("abc", "a", 10) ' expect: 0
