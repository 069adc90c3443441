On Error Resume Next
ExecuteGlobal "Sub Half : End Sub" & vbCrLf & "If Then"
MsgBox Err.Number > 1000 ' expect: Vrai
Err.Clear
Half
MsgBox Err.Number ' expect: 13
