MsgBox "1" + "2" ' expect: 12
MsgBox "1" + 2 ' expect: 3
MsgBox 1 + "2" ' expect: 3
MsgBox TypeName("1" + 2) ' expect: Double
MsgBox Empty + "a" ' expect: a
