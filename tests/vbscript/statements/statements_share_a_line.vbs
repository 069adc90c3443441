' Forms that put a closing keyword or a statement right after another on one line.
If 1 = 1 Then MsgBox "one" End If ' expect: one
If 1 = 2 Then MsgBox "no" Else MsgBox "else" End If ' expect: else
Select Case 2
Case 1 MsgBox "first"
Case 2 MsgBox "second" ' expect: second
Case Else MsgBox "other"
End Select
Select Case 9
Case 1, 2 MsgBox "small"
Case Else MsgBox "large" ' expect: large
End Select
Sub Greet : MsgBox "hello" End Sub
Function Twice(x) : Twice = 2 * x End Function
Class Box
  Public Size
  Public Property Get Area : Area = Size * Size End Property
  Public Sub Grow : Size = Size + 1 End Sub
End Class
Class Empty2 : End Class
Greet ' expect: hello
MsgBox Twice(4) ' expect: 8
Dim b : Set b = New Box : b.Size = 2 : b.Grow
MsgBox b.Area ' expect: 9
