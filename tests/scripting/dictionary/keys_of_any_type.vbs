' Numbers compare by value whatever their type; a text is never a number;
' objects compare by identity; Empty and Null are keys of their own.
Dim d, o1, o2
Set d = CreateObject("Scripting.Dictionary")
d.Add 1, "un"
MsgBox d.Exists(CLng(1)) & " " & d.Exists(1.0) & " " & d.Exists(CByte(1)) & " " & d.Exists("1") ' expect: Vrai Vrai Vrai Faux
MsgBox d(CDbl(1)) ' expect: un
d.Add "1", "texte"
MsgBox d.Count & " " & d("1") & " " & d(1) ' expect: 2 texte un
d.Add 1.5, "virgule"
MsgBox d(3 / 2) ' expect: virgule
Set o1 = CreateObject("Scripting.Dictionary")
Set o2 = CreateObject("Scripting.Dictionary")
d.Add o1, "premier"
d.Add o2, "second"
MsgBox d(o1) & " " & d(o2) ' expect: premier second
d.Add Empty, "vide"
d.Add Null, "nul"
MsgBox d(Empty) & " " & d(Null) & " " & d.Count ' expect: vide nul 7
d.Add True, "vrai"
MsgBox d(-1) ' expect: vrai
