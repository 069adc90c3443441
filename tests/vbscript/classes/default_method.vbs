Class Greeter
  Public Default Function Greet(name)
    Greet = "Bonjour " & name
  End Function
End Class
Dim g
Set g = New Greeter
MsgBox g("Anne") ' expect: Bonjour Anne
