MsgBox InStr(1, "aXbx", "x", vbTextCompare) ' expect: 2
MsgBox InStr(3, "aXbx", "x", 1) ' expect: 4
MsgBox InStr(10, "abc", "a") ' expect: 0
MsgBox InStr(2, "abc", "") ' expect: 2
MsgBox IsNull(InStr("abc", Null)) ' expect: Vrai
MsgBox IsNull(InStr(Null, "a")) ' expect: Vrai
MsgBox InStr("", "") ' expect: 1
