Class Bag
  Public Items(2)
End Class
Dim b
Set b = New Bag
b.Items(1) = "one"
MsgBox b.Items(1) ' expect: one
MsgBox UBound(b.Items) ' expect: 2
