' CreateObject reaches the components beside the program by ProgID.
Dim control
Set control = CreateObject("ScriptControl")
control.Language = "VBScript"
MsgBox control.Eval("6 * 7") ' expect: 42
MsgBox TypeName(CreateObject("Morvel.Registry")) <> "" ' expect: Vrai
On Error Resume Next
Dim missing
Set missing = CreateObject("Nothing.Here")
MsgBox Err.Number ' expect: 429
Err.Clear
Set missing = CreateObject("")
MsgBox Err.Number ' expect: 429
