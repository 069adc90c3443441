' options: --memory-limit 256
' peak below: 282
' Split of a 50-million-character text: the pieces reach the bound, the
' process stays near it.
Dim s, a
s = Replace(Space(2500000), " ", String(19, "a") & ",")
MsgBox Len(s) ' expect: 50000000
a = Split(s, ",") ' expect error: Mémoire insuffisante
