Class Point
  Public X, Y
  Public Function Sum
    Sum = X + Y
  End Function
End Class
Dim p
Set p = New Point
With p
  .X = 3
  .Y = 4
  MsgBox .Sum ' expect: 7
End With
MsgBox p.X ' expect: 3
