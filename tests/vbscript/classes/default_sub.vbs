Class Printer
  Public Default Sub Print(text) : MsgBox "printed " & text : End Sub
End Class
Dim p : Set p = New Printer
p "a" ' expect: printed a
p("b") ' expect: printed b
Call p("c") ' expect: printed c
