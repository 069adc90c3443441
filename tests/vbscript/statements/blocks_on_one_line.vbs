' Block headers may be followed by ':' and more statements on the same line.
Dim i
For i = 1 To 2 : MsgBox i : Next ' expect: 1
' expect: 2
Do While i < 4 : i = i + 1 : Loop : MsgBox i ' expect: 4
Select Case i
Case 4: MsgBox "four" ' expect: four
Case Else
End Select
With Err : MsgBox .Number : End With ' expect: 0
While i > 3 : i = i - 1 : Wend : MsgBox i ' expect: 3
