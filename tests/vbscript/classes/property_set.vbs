Class Holder
  Private mObj
  Public Property Set Item(o)
    Set mObj = o
  End Property
  Public Property Get Item
    Set Item = mObj
  End Property
End Class
Class Thing
  Public Name
End Class
Dim h, t
Set h = New Holder
Set t = New Thing
t.Name = "thing"
Set h.Item = t
MsgBox h.Item.Name ' expect: thing
