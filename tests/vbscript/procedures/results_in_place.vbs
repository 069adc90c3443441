' A result goes where its call's first argument was (or over the object of
' a method call): every mix of plain and held values there and in the result.
Function Five
  Five = 5
End Function
Function Length(text)
  Length = Len(text)
End Function
Function Stars(n)
  Stars = String(n, "*")
End Function
Function Pair(a, b)
  Dim label
  label = a & "/" & b
  Pair = a + b
End Function
Function Keep(text)
  Keep = text
End Function
Class Box
  Public Size
  Public Function Doubled : Doubled = Size * 2 : End Function
  Public Property Let Area(v) : Size = v / 2 : End Property
End Class
MsgBox Five() + Five ' expect: 10
MsgBox Length("four") & " " & Stars(3) & " " & Pair(2, 3) ' expect: 4 *** 5
MsgBox Keep(Keep("same")) & Length(Stars(Five)) ' expect: same5
Dim b
Set b = New Box
b.Size = 4
MsgBox b.Doubled + Pair(b.Doubled, 1) ' expect: 17
b.Area = 20
MsgBox b.Size & " " & TypeName(b) ' expect: 10 Box
MsgBox Pair(Length(Stars(2)), Five) * Pair("1", "2") ' expect: 84
' The object a method was called on is released with its last reference.
Class Tracer
  Public Function Number : Number = 7 : End Function
  Private Sub Class_Terminate : MsgBox "gone" : End Sub
End Class
Dim t
Set t = New Tracer
MsgBox t.Number + Length(t.Number) ' expect: 8
Set t = Nothing ' expect: gone
MsgBox "after" ' expect: after
