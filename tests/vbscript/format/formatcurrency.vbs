MsgBox Replace(FormatCurrency(1234.5), ChrW(160), "_") ' expect: 1_234,50_€
MsgBox Replace(FormatCurrency(-2), ChrW(160), "_") ' expect: -2,00_€
MsgBox Replace(FormatCurrency(-2, 0, , -1), ChrW(160), "_") ' expect: (2_€)
MsgBox Replace(FormatCurrency(0.126, 2), ChrW(160), "_") ' expect: 0,13_€
