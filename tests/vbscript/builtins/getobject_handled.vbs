On Error Resume Next
Dim o
Set o = GetObject(, "Pas.Une.Classe")
MsgBox Err.Number ' expect: 429
Err.Clear
Set o = GetObject("C:\nulle\part.xls")
MsgBox Err.Number ' expect: 432
