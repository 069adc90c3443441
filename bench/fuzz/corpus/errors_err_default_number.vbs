On Error Resume Next
Err.Raise 6
MsgBox Err ' expect: 6
