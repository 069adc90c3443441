' Add, Item (the default member), Exists and Count.
Dim d
Set d = CreateObject("Scripting.Dictionary")
MsgBox TypeName(d) ' expect: Dictionary
d.Add "a", "Athènes"
d.Add "b", "Belgrade"
MsgBox d.Count ' expect: 2
MsgBox d.Item("a") ' expect: Athènes
MsgBox d("b") ' expect: Belgrade
MsgBox d.Exists("a") & " " & d.Exists("A") & " " & d.Exists("z") ' expect: Vrai Faux Faux
d("b") = "Berlin"
MsgBox d("b") & " " & d.Count ' expect: Berlin 2
d.Item("c") = "Caire"
MsgBox d.Count & " " & d("c") ' expect: 3 Caire
' Objects are stored by reference.
Dim other
Set other = CreateObject("Scripting.Dictionary")
Set d("o") = other
other.Add "x", 1
MsgBox d("o").Count & " " & (d("o") Is other) ' expect: 1 Vrai
