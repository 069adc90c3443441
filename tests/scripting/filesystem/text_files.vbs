' Writing, reading and appending text files, line by line and whole.
Dim fso, root, path, ts
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
fso.CreateFolder root
path = fso.BuildPath(root, "notes.txt")
Set ts = fso.CreateTextFile(path)
MsgBox TypeName(ts) ' expect: TextStream
ts.WriteLine "première"
ts.Write "deux"
ts.Write "ième"
ts.WriteBlankLines 1
ts.WriteLine
MsgBox ts.Line ' expect: 4
ts.Close
Set ts = fso.OpenTextFile(path)
MsgBox ts.AtEndOfStream ' expect: Faux
MsgBox ts.ReadLine ' expect: première
MsgBox ts.Line & " " & ts.Column ' expect: 2 1
MsgBox ts.Read(4) & " " & ts.Column ' expect: deux 5
MsgBox ts.AtEndOfLine ' expect: Faux
ts.Skip 4
MsgBox ts.AtEndOfLine ' expect: Vrai
ts.SkipLine
MsgBox "[" & ts.ReadLine & "]" ' expect: []
MsgBox ts.AtEndOfStream ' expect: Vrai
On Error Resume Next
ts.ReadLine
MsgBox Err.Number & " " & Err.Description ' expect: 62 L'entrée dépasse la fin de fichier
Err.Clear
ts.Write "x"
MsgBox Err.Number ' expect: 54
On Error GoTo 0
ts.Close
Set ts = fso.OpenTextFile(path, 8)
ts.Write "fin"
ts.Close
Set ts = fso.OpenTextFile(path, 1)
MsgBox Replace(ts.ReadAll, vbCrLf, "|") ' expect: première|deuxième||fin
ts.Close
Set ts = fso.OpenTextFile(path, 2)
ts.Write "remplacé"
ts.Close
MsgBox fso.OpenTextFile(path).ReadAll ' expect: remplacé
' A file with lone line feeds reads line by line too.
Set ts = fso.CreateTextFile(fso.BuildPath(root, "lf.txt"))
ts.Write "a" & vbLf & "b" & vbCr & "c"
ts.Close
Set ts = fso.GetFile(fso.BuildPath(root, "lf.txt")).OpenAsTextStream
MsgBox ts.ReadLine & ts.ReadLine & ts.ReadLine & ts.AtEndOfStream ' expect: abcVrai
ts.Close
fso.DeleteFolder root
MsgBox fso.FolderExists(root) ' expect: Faux
