Function Twice(x)
  Twice = x * 2
End Function
MsgBox Twice(21) ' expect: 42
Function Nothing1
End Function
MsgBox IsEmpty(Nothing1()) ' expect: Vrai
