' CreateObject("VBScript.RegExp") gives the same object as New RegExp.
Dim re, m, viaNew
Set re = CreateObject("VBScript.RegExp")
Set viaNew = New RegExp
MsgBox TypeName(re) = TypeName(viaNew) ' expect: Vrai
re.Pattern = "(\d+)-(\d+)"
re.Global = True
Set m = re.Execute("12-34 et 5-6")
MsgBox m.Count & " " & m(1).SubMatches(0) ' expect: 2 5
MsgBox re.Replace("1-2", "$2-$1") ' expect: 2-1
re.IgnoreCase = True
re.Pattern = "é+"
MsgBox re.Test("CAFÉ") ' expect: Vrai
On Error Resume Next
re.Pattern = "("
re.Test "x"
MsgBox Err.Number ' expect: 5020
