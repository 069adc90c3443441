Dim re
Set re = New RegExp
re.Pattern = "^\d{3}-\d{4}$"
MsgBox re.Test("555-1234") ' expect: Vrai
MsgBox re.Test("555-12345") ' expect: Faux
MsgBox re.Pattern ' expect: ^\d{3}-\d{4}$
MsgBox re.Global & re.IgnoreCase & re.Multiline ' expect: FauxFauxFaux
