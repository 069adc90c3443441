MsgBox LenB("abc") ' expect: 6
MsgBox IsNull(LenB(Null)) ' expect: Vrai
MsgBox LeftB("abc", 4) ' expect: ab
MsgBox RightB("abc", 2) ' expect: c
MsgBox MidB("abcd", 3, 4) ' expect: bc
MsgBox AscB("A") ' expect: 65
MsgBox AscB(ChrW(&H4142)) ' expect: 66
MsgBox AscB(ChrB(200)) ' expect: 200
MsgBox LenB(ChrB(65)) ' expect: 1
MsgBox Len(ChrB(65)) ' expect: 0
MsgBox LenB(LeftB("abc", 3)) ' expect: 3
MsgBox AscB(RightB(LeftB("abc", 3), 1)) ' expect: 98
' Bytes pair up into characters, low byte first.
MsgBox AscW(ChrB(65) & ChrB(66)) ' expect: 16961
MsgBox LenB(ChrB(1) & ChrB(2) & ChrB(3)) ' expect: 3
MsgBox AscB(MidB(ChrB(1) & ChrB(2) & ChrB(3), 3)) ' expect: 3
' A lone byte followed by a text shifts the text's bytes.
MsgBox LenB(ChrB(0) & "A") ' expect: 3
MsgBox AscB(MidB(ChrB(0) & "A", 2)) ' expect: 65
' Appending byte by byte in a loop keeps every byte.
Dim s, i
For i = 1 To 5 : s = s & ChrB(i * 10) : Next
MsgBox LenB(s) & " " & AscB(RightB(s, 1)) ' expect: 5 50
' Byte strings compare byte by byte.
MsgBox ChrB(65) = ChrB(66) ' expect: Faux
MsgBox ChrB(65) = ChrB(65) ' expect: Vrai
MsgBox ChrB(65) < ChrB(66) ' expect: Vrai
MsgBox TypeName(ChrB(1)) ' expect: String
' InStrB finds byte positions.
MsgBox InStrB("abc", "b") ' expect: 3
MsgBox InStrB(ChrB(1) & ChrB(2) & ChrB(3), ChrB(3)) ' expect: 3
MsgBox InStrB(3, "aXa", "a") ' expect: 5
MsgBox InStrB(1, "abc", "") ' expect: 1
MsgBox InStrB(9, "abc", "a") ' expect: 0
MsgBox IsNull(InStrB("abc", Null)) ' expect: Vrai
MsgBox InStrB(0, "abc", "a") ' expect error: Argument ou appel de procédure incorrect

