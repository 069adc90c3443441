MsgBox GetLocale ' expect: 1036
MsgBox 1.5 ' expect: 1,5
MsgBox CDbl("2,25") * 2 ' expect: 4,5
MsgBox True ' expect: Vrai
MsgBox #3/4/2024# ' expect: 04/03/2024
MsgBox IsNumeric("1.5") ' expect: Faux
