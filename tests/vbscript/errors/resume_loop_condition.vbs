' Under On Error Resume Next, an error in a loop's own condition goes on
' after the loop instead of into it again.
Function Bad() : Bad = 1 / 0 : End Function
On Error Resume Next
Dim n : n = 0
Do
  n = n + 1
Loop While Bad()
MsgBox n & " " & Err.Number ' expect: 1 11
Err.Clear : n = 0
Do
  n = n + 1
Loop Until Bad()
MsgBox n & " " & Err.Number ' expect: 1 11
Err.Clear : n = 0
Do While Bad()
  n = n + 1
Loop
MsgBox n & " " & Err.Number ' expect: 0 11
Err.Clear
Do Until Bad() : n = n + 1 : Loop
MsgBox n & " " & Err.Number ' expect: 0 11
Err.Clear
While Bad() : n = n + 1 : Wend
MsgBox n & " " & Err.Number ' expect: 0 11
