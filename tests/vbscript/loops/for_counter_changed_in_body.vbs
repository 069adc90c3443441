' What the body writes to the counter is what Next adds to.
Dim i, n, seen
For i = 1 To 10
  i = i + 2
  n = n + 1
Next
MsgBox n & " " & i ' expect: 4 13
seen = ""
For i = 1 To 4
  seen = seen & TypeName(i) & ":" & i & "|"
  If i = 2 Then i = "2"
  If i = 3 Then i = 3.5
Next
MsgBox seen ' expect: Integer:1|Integer:2|Double:3|
MsgBox TypeName(i) & " " & i ' expect: Double 4,5
seen = ""
For i = 1.5 To 5
  seen = seen & i & "|"
  i = CInt(i)
Next
MsgBox seen & i ' expect: 1,5|3|4|5|6
For i = 1 To 10
  If i = 4 Then Exit For
Next
MsgBox i ' expect: 4
n = 0
For i = 1 To 3
  n = n + 1
  i = 32767
Next
MsgBox n & " " & TypeName(i) & " " & i ' expect: 1 Long 32768
i = Null
On Error Resume Next
For i = 1 To 3
  i = Null
Next
MsgBox Err.Number ' expect: 94
