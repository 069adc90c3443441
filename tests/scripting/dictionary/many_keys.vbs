' Many keys: growth, removals that leave holes and squeeze them out, renames
' and re-adds keep every key findable and the order of addition.
Dim d, i, ok, s
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 5000
    d.Add i, "n" & i
    d.Add "t" & i, i
Next
MsgBox d.Count & " " & d(4999) & " " & d("t4999") ' expect: 10000 n4999 4999
For i = 1 To 5000 Step 2
    d.Remove i
    d.Remove "t" & i
Next
ok = True
For i = 1 To 5000
    If d.Exists(i) <> (i Mod 2 = 0) Or d.Exists("t" & i) <> (i Mod 2 = 0) Then ok = False
Next
MsgBox d.Count & " " & ok ' expect: 5000 Vrai
d.Key(2) = "deux"
d.Key("t2") = CSng(2.5)
MsgBox d("deux") & " " & d(2.5) & " " & d.Exists(2) ' expect: n2 2 Faux
s = ""
For i = 0 To 3
    s = s & d.Keys()(i) & ","
Next
MsgBox s ' expect: deux,2,5,4,t4,
d.Add 1, "back"
MsgBox d.Keys()(d.Count - 1) & " " & d(CCur(1)) & " " & d(CSng(1)) ' expect: 1 back back
d.Item("t4") = "changed"
MsgBox d("t4") & " " & d.Count ' expect: changed 5001
