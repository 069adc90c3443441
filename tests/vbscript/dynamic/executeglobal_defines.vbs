Sub Setup
  ExecuteGlobal "Dim counter : counter = 5 : Function Twice(n) : Twice = n * 2 : End Function"
End Sub
Setup
MsgBox counter ' expect: 5
MsgBox Twice(21) ' expect: 42
