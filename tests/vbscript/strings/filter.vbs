Dim a
a = Filter(Array("pomme", "poire", "Banane"), "po")
MsgBox UBound(a) & ":" & Join(a, ",") ' expect: 1:pomme,poire
a = Filter(Array("pomme", "poire", "Banane"), "po", False)
MsgBox Join(a, ",") ' expect: Banane
a = Filter(Array("pomme", "poire", "Banane"), "BAN", True, vbTextCompare)
MsgBox Join(a, ",") ' expect: Banane
a = Filter(Array("a", "b"), "z")
MsgBox UBound(a) ' expect: -1
