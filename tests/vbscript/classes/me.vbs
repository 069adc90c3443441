Class Node
  Public Value
  Public Function Self
    Set Self = Me
  End Function
  Public Function Doubled
    Doubled = Me.Value * 2
  End Function
End Class
Dim n
Set n = New Node
n.Value = 4
MsgBox n.Self Is n ' expect: Vrai
MsgBox n.Doubled ' expect: 8
