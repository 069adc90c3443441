MsgBox FormatPercent(0.125) ' expect: 12,50%
MsgBox FormatPercent(1) ' expect: 100,00%
MsgBox FormatPercent(-0.5, 0) ' expect: -50%
MsgBox FormatPercent(0.12345, 1) ' expect: 12,3%
