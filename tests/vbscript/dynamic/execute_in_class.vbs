Class Counter
  Private count
  Public Sub Add(n)
    Execute "count = count + n"
  End Sub
  Public Function Value
    Value = Eval("Me.Peek")
  End Function
  Public Function Peek
    Peek = count
  End Function
End Class
Dim c
Set c = New Counter
c.Add 3
c.Add 4
MsgBox c.Value ' expect: 7
