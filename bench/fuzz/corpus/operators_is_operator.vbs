Class C
End Class
Dim a, b
Set a = New C
Set b = a
MsgBox a Is b ' expect: Vrai
MsgBox a Is New C ' expect: Faux
MsgBox Nothing Is Nothing ' expect: Vrai
MsgBox Not a Is Nothing ' expect: Vrai
