MsgBox InStr("abcabc", "c") ' expect: 3
MsgBox InStr(4, "abcabc", "c") ' expect: 6
MsgBox InStr("abc", "z") ' expect: 0
MsgBox InStr("ABC", "b") ' expect: 0
MsgBox InStr(1, "ABC", "b", vbTextCompare) ' expect: 2
MsgBox InStr("abc", "") ' expect: 1
MsgBox InStrRev("abcabc", "b") ' expect: 5
MsgBox InStrRev("abcabc", "b", 4) ' expect: 2
