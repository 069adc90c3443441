Class Widget
End Class
Dim w
Set w = New Widget
MsgBox TypeName(w) ' expect: Widget
MsgBox IsObject(w) ' expect: Vrai
MsgBox VarType(w) ' expect: 9
