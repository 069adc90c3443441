Dim re
Set re = New RegExp
re.Pattern = "a.c"
MsgBox re.Test("abc") & re.Test("a" & vbLf & "c") ' expect: VraiFaux
re.Pattern = "a[\s\S]c"
MsgBox re.Test("a" & vbLf & "c") ' expect: Vrai
