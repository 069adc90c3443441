Option Explicit
' A Dim that Execute runs in a procedure declares there, for the rest of the call.
Class Noisy
    Private Sub Class_Terminate
        MsgBox "ended"
    End Sub
End Class
Sub Test(round)
    Execute "Dim count : count = " & round
    MsgBox count
    count = count * 10
    Execute "MsgBox count"
    MsgBox Eval("count + 1")
    Execute "Dim list(2) : list(1) = ""un"""
    MsgBox list(1) & UBound(list)
    Execute "Dim held : Set held = New Noisy"
    MsgBox "before the end"
End Sub
Test 1 ' expect: 1
' expect: 10
' expect: 11
' expect: un2
' expect: before the end
' expect: ended
Test 2 ' expect: 2
' expect: 20
' expect: 21
' expect: un2
' expect: before the end
' expect: ended
On Error Resume Next
MsgBox count
MsgBox Err.Number ' expect: 500
Err.Clear
Sub Shared
    ExecuteGlobal "Dim everywhere : everywhere = ""global"""
End Sub
Shared
MsgBox everywhere ' expect: global
