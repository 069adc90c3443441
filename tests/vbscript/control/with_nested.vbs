Class Box
  Public Inner, V
End Class
Dim a
Set a = New Box
Set a.Inner = New Box
With a
  .V = 1
  With .Inner
    .V = 2
  End With
  MsgBox .V ' expect: 1
End With
MsgBox a.Inner.V ' expect: 2
