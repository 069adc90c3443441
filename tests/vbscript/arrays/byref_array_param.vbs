Sub SetFirst(arr)
  arr(0) = "changed"
End Sub
Dim a
a = Array("orig")
SetFirst a
MsgBox a(0) ' expect: changed
