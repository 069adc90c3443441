' Nothing existing is replaced unless the caller asks for it, at Windows paths.
Dim fso, root, a, b, ts
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
fso.CreateFolder root
a = fso.BuildPath(root, "a.txt")
b = fso.BuildPath(root, "b.txt")
fso.CreateTextFile(a).Write "AAA"
fso.CreateTextFile(b).Write "BB"
On Error Resume Next
fso.CreateTextFile a, False
MsgBox Err.Number & " " & Err.Description ' expect: 58 Ce fichier existe déjà
Err.Clear
fso.CopyFile a, b
MsgBox Err.Number & " " & fso.OpenTextFile(b).ReadAll ' expect: 58 BB
Err.Clear
fso.MoveFile a, b
MsgBox Err.Number & " " & fso.FileExists(a) ' expect: 58 Vrai
Err.Clear
fso.GetFile(a).Name = "B.TXT"
MsgBox Err.Number & " " & fso.OpenTextFile(b).ReadAll ' expect: 58 BB
Err.Clear
fso.CopyFolder root, root & "\dedans"
MsgBox Err.Number ' expect: 70
Err.Clear
fso.OpenTextFile fso.BuildPath(root, "absent.txt")
MsgBox Err.Number & " " & Err.Description ' expect: 53 Fichier introuvable
Err.Clear
fso.CreateTextFile fso.BuildPath(root, "pas\de\dossier.txt")
MsgBox Err.Number & " " & Err.Description ' expect: 76 Chemin d'accès introuvable
Err.Clear
fso.GetFolder "Q:\nulle\part"
MsgBox Err.Number ' expect: 76
Err.Clear
fso.OpenTextFile root
MsgBox Err.Number ' expect: 70
' A file whose folder went away is missing, not a failed access.
Err.Clear
fso.CreateFolder root & "\parti"
Set ts = fso.CreateTextFile(root & "\parti\f.txt")
ts.Close
Set ts = fso.GetFile(root & "\parti\f.txt")
fso.DeleteFolder root & "\parti"
a = ts.Size
MsgBox Err.Number & " " & Err.Description ' expect: 53 Fichier introuvable
a = fso.BuildPath(root, "a.txt")
On Error GoTo 0
' Asked for, the replacement happens whole.
fso.CopyFile a, b, True
MsgBox fso.OpenTextFile(b).ReadAll ' expect: AAA
Set ts = fso.CreateTextFile(a, True)
ts.Close
MsgBox fso.GetFile(a).Size ' expect: 0
MsgBox fso.GetFolder(root).Files.Count ' expect: 2
fso.DeleteFolder root
