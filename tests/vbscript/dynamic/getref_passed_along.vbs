Function Apply(fn, x)
  Apply = fn(x)
End Function
Function Square(n)
  Square = n * n
End Function
MsgBox Apply(GetRef("Square"), 9) ' expect: 81
