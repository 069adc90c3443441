Dim calls
Function Next1
  calls = calls + 1
  Next1 = calls
End Function
Select Case Next1()
  Case 5
  Case 1
    MsgBox "first" ' expect: first
End Select
MsgBox calls ' expect: 1
