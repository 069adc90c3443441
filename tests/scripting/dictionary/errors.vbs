' A key added twice, removing a missing key.
Dim d
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
On Error Resume Next
d.Remove "b"
MsgBox Err.Number ' expect: 32811
On Error GoTo 0
d.Add "a", 2 ' expect error: Cette clé est déjà associée à un élément de cette collection
