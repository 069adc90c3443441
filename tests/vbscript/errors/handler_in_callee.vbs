Function Safe
  On Error Resume Next
  Safe = 1 / 0
  Safe = "recovered " & Err.Number
End Function
MsgBox Safe() ' expect: recovered 11
