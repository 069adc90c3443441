' Text mode folds case in every alphabet, exactly as StrComp with
' vbTextCompare does; binary mode keeps the cases apart.
Dim d, b, pairs, i, same, agree
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
d.Add "Αθήνα", "gr"
d.Add "Москва", "ru"
d.Add "Łódź", "pl"
d.Add "Őrség", "hu"
MsgBox d("ΑΘΉΝΑ") & " " & d("москва") & " " & d("ŁÓDŹ") & " " & d("őRSÉG") & " " & d.Count ' expect: gr ru pl hu 4
MsgBox d.Exists("ΜΟΣΚΒΑ") & " " & d.Exists("Lodz") ' expect: Faux Faux
On Error Resume Next
d.Add "ЖЁЛТЫЙ", 1
d.Add "жёлтый", 2
MsgBox Err.Number ' expect: 457
On Error GoTo 0
d.Key("жёлтый") = "Жёлтый"
MsgBox d.Exists("ЖЁЛТЫЙ") & " " & Join(d.Keys, ",") ' expect: Vrai Αθήνα,Москва,Łódź,Őrség,Жёлтый
Set b = CreateObject("Scripting.Dictionary")
b.Add "Αθήνα", 1
b.Add "ΑΘΉΝΑ", 2
MsgBox b.Count & " " & b.Exists("αθήνα") ' expect: 2 Faux
' The dictionary and StrComp agree pair by pair.
pairs = Array("Σ", "σ", "Ω", "ω", "Ё", "ё", "Ǆ", "ǆ", "Ÿ", "ÿ", "Ǻ", "ǻ", "ς", "Σ", "ß", "SS", "Ĳ", "ĳ")
agree = True
For i = 0 To UBound(pairs) Step 2
    Set d = CreateObject("Scripting.Dictionary")
    d.CompareMode = vbTextCompare
    d.Add pairs(i), True
    same = StrComp(pairs(i), pairs(i + 1), vbTextCompare) = 0
    If d.Exists(pairs(i + 1)) <> same Then agree = False : MsgBox pairs(i) & pairs(i + 1)
Next
MsgBox agree ' expect: Vrai
