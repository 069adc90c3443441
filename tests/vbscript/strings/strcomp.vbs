MsgBox StrComp("abc", "abd") ' expect: -1
MsgBox StrComp("b", "a") ' expect: 1
MsgBox StrComp("ABC", "abc") ' expect: -1
MsgBox StrComp("ABC", "abc", vbTextCompare) ' expect: 0
MsgBox StrComp("ABC", "abc", vbBinaryCompare) ' expect: -1
MsgBox TypeName(StrComp("a", "a")) ' expect: Integer
MsgBox StrComp("", "") ' expect: 0
