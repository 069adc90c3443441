Dim re, s, out
Set re = New RegExp
re.Pattern = "(\d)(\d)(\d)"
For Each s In re.Execute("x123")(0).SubMatches
  out = out & s & ";"
Next
MsgBox out ' expect: 1;2;3;
