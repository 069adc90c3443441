' options: --memory-limit 64
On Error Resume Next
Dim s
s = "xxxxxxxx"
Do While Err.Number = 0
  s = s & s
Loop
MsgBox Err.Number ' expect: 7
s = Empty
Err.Clear
s = Space(1000) & "x"
MsgBox Len(s) & " " & Err.Number ' expect: 1001 0
