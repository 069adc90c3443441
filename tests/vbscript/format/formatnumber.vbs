MsgBox Replace(FormatNumber(1234.567), ChrW(160), "_") ' expect: 1_234,57
MsgBox FormatNumber(0.5, 0) ' expect: 1
MsgBox FormatNumber(2.5, 0) ' expect: 3
MsgBox FormatNumber(-1.5, 1) ' expect: -1,5
MsgBox FormatNumber(0.25, 2, 0) ' expect: ,25
MsgBox FormatNumber(-3, 2, -1, -1) ' expect: (3,00)
MsgBox FormatNumber(1234567, 0, , , 0) ' expect: 1234567
MsgBox FormatNumber("1,5") ' expect: 1,50
MsgBox FormatNumber(0) ' expect: 0,00
MsgBox FormatNumber(Empty) ' expect: 0,00
MsgBox TypeName(FormatNumber(1)) ' expect: String
