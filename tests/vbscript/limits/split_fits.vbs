' options: --memory-limit 256
' peak below: 282
Dim s, a
s = Replace(Space(500000), " ", String(99, "a") & ",")
MsgBox Len(s) ' expect: 50000000
a = Split(s, ",")
MsgBox UBound(a) & " " & Len(a(0)) & " " & Len(a(500000)) ' expect: 500000 99 0
a = Empty
a = Split(s, ",", 3)
MsgBox UBound(a) & " " & Len(a(2)) ' expect: 2 49999800
MsgBox Len(Join(Split("a,b,,c", ","), "--")) ' expect: 9
