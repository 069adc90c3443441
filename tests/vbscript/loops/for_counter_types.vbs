' The counter's type follows the sums of Next, as in any addition.
Dim i, n
For i = 1 To 3 : Next
MsgBox TypeName(i) & " " & i ' expect: Integer 4
For i = 32760 To 32770 : n = n + 1 : Next
MsgBox TypeName(i) & " " & i & " " & n ' expect: Long 32771 11
n = 0
For i = -32760 To -32775 Step -5 : n = n + 1 : Next
MsgBox TypeName(i) & " " & i & " " & n ' expect: Long -32780 4
n = 0
For i = 2147483640 To 2147483647 : n = n + 1 : Next
MsgBox TypeName(i) & " " & i & " " & n ' expect: Double 2147483648 8
For i = 1 To CLng(3) : Next
MsgBox TypeName(i) ' expect: Integer
For i = CLng(1) To 3 : Next
MsgBox TypeName(i) ' expect: Long
For i = 1 To 2 Step CLng(1) : Next
MsgBox TypeName(i) ' expect: Long
n = ""
For i = 0 To 1 Step 0.25 : n = n & i & ";" : Next
MsgBox n & " " & TypeName(i) & " " & i ' expect: 0;0,25;0,5;0,75;1; Double 1,25
n = 0
For i = 0.5 To 2 : n = n + 1 : Next
MsgBox n & " " & i ' expect: 2 2,5
n = 0
For i = 10 To 1 Step -3 : n = n + 1 : Next
MsgBox n & " " & i ' expect: 4 -2
n = 0
For i = 1 To 3 Step -1 : n = n + 1 : Next
MsgBox n & " " & i ' expect: 0 1
For i = 1 To 10.5 : Next
MsgBox i ' expect: 11
