' Counters in every kind of variable: a procedure's own, a ByRef
' parameter's, a class field, and a name first met in the loop.
Function Total(k)
  Dim i, s
  For i = 1 To k
    s = s + i
  Next
  Total = s & " " & i & " " & TypeName(i)
End Function
MsgBox Total(100000) ' expect: 5000050000 100001 Long

Sub Count(ByRef c, limit)
  For c = 1 To limit Step 2 : Next
End Sub
Dim outer
Count outer, 6
MsgBox outer ' expect: 7

Class Counter
  Public Value
  Public Function Run(k)
    For Value = k To 1 Step -1 : Run = Run & Value : Next
  End Function
End Class
Dim c
Set c = New Counter
MsgBox c.Run(3) & " " & c.Value ' expect: 321 0

Execute "For fresh = 1 To 4 : Next"
MsgBox fresh ' expect: 5
