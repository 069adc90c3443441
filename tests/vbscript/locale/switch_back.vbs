Dim previous
previous = SetLocale(1033)
MsgBox previous ' expect: 1036
MsgBox SetLocale("fr-fr") ' expect: 1033
MsgBox 2.5 ' expect: 2,5
MsgBox SetLocale(0) ' expect: 1036
MsgBox SetLocale() ' expect: 1036
