Dim a, b
Set a = New RegExp
Set b = New RegExp
a.Pattern = "x"
MsgBox "[" & b.Pattern & "]" ' expect: []
MsgBox a.Test("axb") & b.Test("anything") ' expect: VraiVrai
