' Text comparison folds case; the mode changes only while empty.
Dim d
Set d = CreateObject("Scripting.Dictionary")
MsgBox d.CompareMode ' expect: 0
d.CompareMode = vbTextCompare
d.Add "Clé", 1
MsgBox d.Exists("CLÉ") & " " & d("clé") ' expect: Vrai 1
d.Add "autre", 2
MsgBox Join(d.Keys, ",") ' expect: Clé,autre
On Error Resume Next
d.CompareMode = vbBinaryCompare
MsgBox Err.Number ' expect: 5
