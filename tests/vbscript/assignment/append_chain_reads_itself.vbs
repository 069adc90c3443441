Dim s
s = "ab"
s = s & "x" & Len(s)
MsgBox s ' expect: abx2
s = s & s & s
MsgBox s ' expect: abx2abx2abx2
