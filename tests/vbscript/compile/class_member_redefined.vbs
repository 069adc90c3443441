' A class that fails to compile half-way: its other methods still refer
' to it while they are compiled.
Class Calc
  Public Function Square(x)
    Square = x * x
  End Function
  Public Function SumSquares(a, b)
    SumSquares = Square(a) + Square(b)
  End Function
  Public Function SumSquares(a, b) ' expect error: Nom redéfini
    SumSquares = 0
  End Function
End Class
MsgBox "not shown"
