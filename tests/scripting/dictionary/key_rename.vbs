' Key(old) = new renames in place; clashes and missing keys are errors.
Dim d
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "b", 2
d.Key("a") = "x"
MsgBox Join(d.Keys, ",") & " " & d("x") ' expect: x,b 1
On Error Resume Next
d.Key("b") = "x"
MsgBox Err.Number & " " & Err.Description ' expect: 457 Cette clé est déjà associée à un élément de cette collection
Err.Clear
d.Key("absent") = "y"
MsgBox Err.Number & " " & Err.Description ' expect: 32811 Élément introuvable
