Dim s, i
For i = 1 To 5
  s = s & i
Next
MsgBox s ' expect: 12345
MsgBox TypeName(s) ' expect: String
s = Null
s = s & Null
MsgBox IsNull(s) ' expect: Vrai
s = s & 1 & True
MsgBox s ' expect: 1Vrai
