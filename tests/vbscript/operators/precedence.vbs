MsgBox 2 + 3 * 4 ' expect: 14
MsgBox (2 + 3) * 4 ' expect: 20
MsgBox 2 ^ 3 ^ 2 ' expect: 64
MsgBox -3 ^ 2 ' expect: 9
MsgBox 10 - 2 - 3 ' expect: 5
MsgBox 7 \ 2 * 2 ' expect: 1
MsgBox 7 Mod 3 + 1 ' expect: 2
MsgBox 1 + 2 & 3 ' expect: 33
MsgBox Not 1 = 2 ' expect: Vrai
