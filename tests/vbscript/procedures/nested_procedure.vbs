Sub Outer
    If True Then
        Sub Inner ' expect error: Instruction attendue
        End Sub
    End If
End Sub
