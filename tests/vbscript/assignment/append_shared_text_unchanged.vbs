Dim s, t
s = "base"
t = s
s = s & "+" & 1
MsgBox t & " " & s ' expect: base base+1
