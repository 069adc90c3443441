Dim i, s
s = ""
For i = 10 To 1 Step -3
  s = s & i & "."
Next
MsgBox s ' expect: 10.7.4.1.
For i = 0 To 1 Step 0.5
  MsgBox i
Next
' expect: 0
' expect: 0,5
' expect: 1
