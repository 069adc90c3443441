Sub Test
  Execute "Dim hidden : hidden = 1"
End Sub
Test
MsgBox IsEmpty(hidden) ' expect: Vrai
