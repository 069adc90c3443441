' A group inside a repeated group reports only what the last pass captured.
Dim r, m
Set r = New RegExp
r.Pattern = "((a)|b)+"
Set m = r.Execute("ab")(0)
MsgBox m.Value & "|" & m.SubMatches(0) & "|" & IsEmpty(m.SubMatches(1)) ' expect: ab|b|Vrai
r.Pattern = "(?:(x)|y){2}"
MsgBox IsEmpty(r.Execute("xy")(0).SubMatches(0)) ' expect: Vrai
MsgBox r.Execute("yx")(0).SubMatches(0) ' expect: x
' A back-reference to a group the last pass left unset matches nothing.
r.Pattern = "(?:(a)|b)+\1c"
MsgBox r.Execute("abc")(0).Value ' expect: abc
r.Pattern = "(\d)+-"
MsgBox r.Execute("123-")(0).SubMatches(0) ' expect: 3
