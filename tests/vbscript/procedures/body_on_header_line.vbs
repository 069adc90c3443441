' The body may start on the header's line, after the parameter list.
Function Inc(a) Inc = a + 1 : End Function
MsgBox Inc(2) ' expect: 3
function iif(c,t,f) if c then iif=t else iif=f end if: end function
MsgBox iif(True, "oui", "non") & iif(False, "oui", "non") ' expect: ouinon
Sub Show(x) MsgBox "<" & x & ">"
End Sub
Show 5 ' expect: <5>
Function Twice(n) Dim r : r = n * 2
    Twice = r
End Function
MsgBox Twice(21) ' expect: 42
Function One() One = 1 End Function
MsgBox One() ' expect: 1
Class Box
    Private held
    Public Property Get Value() Value = held : End Property
    Public Property Let Value(x) held = x * 2
    End Property
End Class
Set b = New Box
b.Value = 4
MsgBox b.Value ' expect: 8
