MsgBox Escape("a b") ' expect: a%20b
MsgBox Escape("@*_+-./") ' expect: @*_+-./
MsgBox Escape("é&=") ' expect: %E9%26%3D
MsgBox Escape(ChrW(8364)) ' expect: %u20AC
MsgBox IsNull(Escape(Null)) ' expect: Vrai
MsgBox "[" & Escape("") & "]" ' expect: []
