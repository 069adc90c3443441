Dim s
Function Touch()
  s = "changed"
  Touch = "!"
End Function
s = "start"
s = s & "-" & Touch()
MsgBox s ' expect: start-!
