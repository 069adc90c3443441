' Nothing existing is replaced unless the caller asks for it.
Dim fso, root, a, b, ts
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
fso.CreateFolder root
a = fso.BuildPath(root, "a.txt")
b = fso.BuildPath(root, "b.txt")
fso.CreateTextFile(a).Write "AAA"
fso.CreateTextFile(b).Write "BB"
On Error Resume Next
fso.CreateTextFile a
MsgBox Err.Number & " " & Err.Description ' expect: 58 Ce fichier existe déjà
Err.Clear
fso.CreateTextFile a, False
MsgBox Err.Number ' expect: 58
Err.Clear
fso.CopyFile a, b
MsgBox Err.Number & " " & fso.OpenTextFile(b).ReadAll ' expect: 58 BB
Err.Clear
fso.MoveFile a, b
MsgBox Err.Number & " " & fso.FileExists(a) ' expect: 58 Vrai
Err.Clear
fso.GetFile(a).Name = "b.txt"
MsgBox Err.Number & " " & fso.OpenTextFile(b).ReadAll ' expect: 58 BB
Err.Clear
fso.CreateFolder root
MsgBox Err.Number ' expect: 58
Err.Clear
fso.CopyFolder root, root & "/dedans"
MsgBox Err.Number ' expect: 70
Err.Clear
fso.OpenTextFile fso.BuildPath(root, "absent.txt")
MsgBox Err.Number & " " & Err.Description ' expect: 53 Fichier introuvable
Err.Clear
fso.OpenTextFile fso.BuildPath(root, "absent.txt"), 8
MsgBox Err.Number & " " & fso.FileExists(fso.BuildPath(root, "absent.txt")) ' expect: 53 Faux
Err.Clear
fso.CreateTextFile fso.BuildPath(root, "pas/de/dossier.txt")
MsgBox Err.Number & " " & Err.Description ' expect: 76 Chemin d'accès introuvable
Err.Clear
fso.GetFolder fso.BuildPath(root, "absent")
MsgBox Err.Number ' expect: 76
Err.Clear
fso.OpenTextFile root
MsgBox Err.Number ' expect: 70
Err.Clear
fso.OpenTextFile "/dev/zero"
MsgBox Err.Number ' expect: 75
On Error GoTo 0
' Asked for, the replacement happens whole.
fso.CopyFile a, b, True
MsgBox fso.OpenTextFile(b).ReadAll ' expect: AAA
Set ts = fso.CreateTextFile(a, True)
ts.Close
MsgBox fso.GetFile(a).Size ' expect: 0
fso.OpenTextFile(fso.BuildPath(root, "nouveau.txt"), 2, True).Write "n"
MsgBox fso.FileExists(fso.BuildPath(root, "nouveau.txt")) ' expect: Vrai
MsgBox fso.GetFolder(root).Files.Count ' expect: 3
fso.DeleteFolder root
