Dim s, n
s = "a"
n = 5
s = s & "-" & n & vbTab & Null & 2.5
MsgBox Replace(s, vbTab, "|") ' expect: a-5|2,5
