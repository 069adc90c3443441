' Reading a missing key adds it with an Empty item.
Dim d, v
Set d = CreateObject("Scripting.Dictionary")
v = d("absent")
MsgBox d.Count & " " & IsEmpty(v) & " " & d.Exists("absent") ' expect: 1 Vrai Vrai
MsgBox IsEmpty(d.Item("autre")) & " " & d.Count ' expect: Vrai 2
