On Error Resume Next
Dim x
x = 1 / 0
MsgBox Err.Number ' expect: 11
MsgBox Err.Description ' expect: Division par zéro
Err.Clear
MsgBox Err.Number ' expect: 0
