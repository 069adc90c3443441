MsgBox Chr(65) ' expect: A
MsgBox Asc("a") ' expect: 97
MsgBox AscW(ChrW(8364)) ' expect: 8364
MsgBox Asc(Chr(128)) ' expect: 128
MsgBox Chr(233) ' expect: é
MsgBox Asc("") ' expect error: Argument ou appel de procédure incorrect
