' options: --memory-limit 64
' peak below: 72
' Texts too long for the bound are refused before any memory is taken.
On Error Resume Next
Dim s
s = Space(2147483647)
MsgBox "Space " & Err.Number ' expect: Space 7
Err.Clear
s = String(2147483647, "x")
MsgBox "String " & Err.Number ' expect: String 7
Err.Clear
s = Replace(Space(100000), " ", Space(20000))
MsgBox "Replace " & Err.Number ' expect: Replace 7
Err.Clear
s = Space(20000000) & 1
MsgBox "Concat " & Err.Number ' expect: Concat 7
Err.Clear
s = UCase(Space(20000000))
MsgBox "UCase " & Err.Number ' expect: UCase 7
Err.Clear
s = Space(10) & 1
MsgBox Len(s) & " " & Err.Number ' expect: 11 0
On Error GoTo 0
s = Space(2147483647) ' expect error: Mémoire insuffisante
