' ".name" outside any With compiles; running it raises error 505.
Sub Never : .Value = 1 : End Sub ' expect error: Référence non valide ou non qualifiée
MsgBox "compiled" ' expect: compiled
On Error Resume Next
.Value = 2
MsgBox Err.Number ' expect: 505
Err.Clear
MsgBox .Value
MsgBox Err.Number ' expect: 505
On Error GoTo 0
Never
