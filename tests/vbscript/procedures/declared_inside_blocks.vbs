' Procedures written inside script-level blocks exist whatever the block does.
Before ' expect: before
If False Then
    Sub Before
        MsgBox "before"
    End Sub
    Function Hidden(x)
        Hidden = x * 10
    End Function
End If
MsgBox Hidden(4) ' expect: 40
For i = 1 To 0
    Private Sub InLoop
        MsgBox "loop"
    End Sub
Next
InLoop ' expect: loop
Select Case 3
Case 1
    Function Chosen()
        Chosen = "case one"
    End Function
End Select
MsgBox Chosen() ' expect: case one
Do While False
    Sub InDo : MsgBox "do" : End Sub
Loop
InDo ' expect: do
