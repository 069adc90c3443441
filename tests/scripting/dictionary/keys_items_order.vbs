' Keys and Items are arrays in the order of addition; For Each walks the keys.
Dim d, k, s, a
Set d = CreateObject("Scripting.Dictionary")
d.Add "z", 26
d.Add "a", 1
d.Add "m", 13
a = d.Keys
MsgBox UBound(a) & " " & Join(a, ",") ' expect: 2 z,a,m
MsgBox Join(d.Items, ",") ' expect: 26,1,13
For Each k In d
    s = s & k & "=" & d(k) & ";"
Next
MsgBox s ' expect: z=26;a=1;m=13;
d.Remove "a"
MsgBox Join(d.Keys, ",") & " " & d.Count ' expect: z,m 2
d.Add "a", 2
MsgBox Join(d.Keys, ",") ' expect: z,m,a
d.RemoveAll
MsgBox d.Count & " " & UBound(d.Keys) ' expect: 0 -1
