Function Three
  Three = 3
End Function
MsgBox Three + 1 ' expect: 4
