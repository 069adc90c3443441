' The limit and the step are evaluated once, before the first pass.
Dim calls, i, n, limit, stride
Function Limit3()
  calls = calls & "L"
  Limit3 = 3
End Function
Function Step1()
  calls = calls & "S"
  Step1 = 1
End Function
For i = 1 To Limit3() Step Step1()
  n = n + 1
Next
MsgBox calls & " " & n ' expect: LS 3
limit = 5 : stride = 1 : n = 0
For i = 1 To limit Step stride
  limit = 1 : stride = 10
  n = n + 1
Next
MsgBox n & " " & i ' expect: 5 6
