Class Temp
  Private mC
  Public Property Get Celsius
    Celsius = mC
  End Property
  Public Property Let Celsius(v)
    mC = v
  End Property
  Public Property Get Fahrenheit
    Fahrenheit = mC * 9 / 5 + 32
  End Property
End Class
Dim t
Set t = New Temp
t.Celsius = 100
MsgBox t.Fahrenheit ' expect: 212
MsgBox t.Celsius ' expect: 100
