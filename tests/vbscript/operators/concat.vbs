MsgBox 1 & 2 ' expect: 12
MsgBox "a" & True ' expect: aVrai
MsgBox 1.5 & "" ' expect: 1,5
