On Error Resume Next
x = CInt("z")
MsgBox Err.Number ' expect: 13
On Error GoTo 0
MsgBox Err.Number ' expect: 0
x = CInt("z") ' expect error: Type incompatible
