On Error Resume Next
Execute "If Then"
MsgBox Err.Number > 1000 ' expect: Vrai
Err.Clear
Execute "x = 1 / 0"
MsgBox Err.Number ' expect: 11
On Error GoTo 0
Execute "Dim a : a = CInt(""z"")" ' expect error: Type incompatible
