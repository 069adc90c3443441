' Case mapping covers every alphabet, not just ASCII and Latin-1.
MsgBox UCase("été ÿ") ' expect: ÉTÉ Ÿ
MsgBox LCase("ÉTÉ Ÿ") ' expect: été ÿ
MsgBox UCase("αβγ жёлтый őű") ' expect: ΑΒΓ ЖЁЛТЫЙ ŐŰ
MsgBox LCase("ΑΒΓ ЖЁЛТЫЙ ŐŰ") ' expect: αβγ жёлтый őű
MsgBox UCase("ß€1") ' expect: ß€1
MsgBox StrComp("Жук", "жук", vbTextCompare) & StrComp("Жук", "жук", vbBinaryCompare) ' expect: 0-1
MsgBox InStr(1, "ABCЖ", "ж", vbTextCompare) ' expect: 4
Dim r : Set r = New RegExp
r.IgnoreCase = True : r.Pattern = "ö+[а-я]"
MsgBox r.Test("ÖöЯ") ' expect: Vrai
