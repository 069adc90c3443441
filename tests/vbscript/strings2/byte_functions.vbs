MsgBox LenB("abc") ' expect: 6
MsgBox IsNull(LenB(Null)) ' expect: Vrai
MsgBox LeftB("abc", 4) ' expect: ab
MsgBox RightB("abc", 2) ' expect: c
MsgBox MidB("abcd", 3, 4) ' expect: bc
MsgBox AscB("A") ' expect: 65
MsgBox AscB(ChrW(&H4142)) ' expect: 66
MsgBox AscB(ChrB(200)) ' expect: 200
MsgBox LenB(ChrB(65)) ' expect: 2
