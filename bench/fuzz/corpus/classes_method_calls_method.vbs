Class Calc
  Public Function Square(x)
    Square = x * x
  End Function
  Public Function SumSquares(a, b)
    SumSquares = Square(a) + Square(b)
  End Function
End Class
Dim c
Set c = New Calc
MsgBox c.SumSquares(3, 4) ' expect: 25
