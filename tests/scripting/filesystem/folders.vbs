' Folders: creation, walking, copying, moving and deleting, wildcards included.
Dim fso, root, f, names, item, ts
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
Set f = fso.CreateFolder(root)
MsgBox TypeName(f) & " " & (f.Path = root) ' expect: Folder Vrai
fso.CreateFolder root & "\sous"
fso.CreateTextFile(root & "\b.log").Write "12345"
fso.CreateTextFile(root & "/a.txt").Write "abc"
fso.CreateTextFile(root & "/sous/c.txt").Write "c"
For Each item In f.Files
    names = names & item.Name & "(" & item.Size & ") "
Next
MsgBox Trim(names) ' expect: a.txt(3) b.log(5)
MsgBox f.SubFolders.Count & " " & f.SubFolders("sous").Files.Count & " " & f.Size ' expect: 1 1 9
MsgBox f.Files("a.txt").Type & "|" & f.Type ' expect: Fichier TXT|Dossier de fichiers
MsgBox f.Files("a.txt").ParentFolder.Name = f.Name ' expect: Vrai
MsgBox TypeName(f.Files("a.txt").DateLastModified) ' expect: Date
MsgBox Abs(DateDiff("s", f.Files("a.txt").DateLastModified, Now)) < 120 ' expect: Vrai
MsgBox f.IsRootFolder & " " & fso.GetFolder("/").IsRootFolder ' expect: Faux Vrai
' Wildcards copy into a folder; a copy of a tree keeps its contents.
fso.CreateFolder root & "/copies"
fso.CopyFile root & "/*.txt", root & "/copies/"
MsgBox fso.GetFolder(root & "/copies").Files.Count ' expect: 1
fso.CopyFolder root & "/sous", root & "/sous2"
MsgBox fso.FileExists(root & "/sous2/c.txt") ' expect: Vrai
fso.MoveFolder root & "/sous2", root & "/copies/sous3"
MsgBox fso.FolderExists(root & "/sous2") & " " & fso.FileExists(root & "/copies/sous3/c.txt") ' expect: Faux Vrai
Set item = fso.GetFile(root & "/b.log")
item.Move root & "/copies/"
MsgBox item.Path = root & "/copies/b.log" ' expect: Vrai
item.Name = "renommé.log"
MsgBox fso.FileExists(root & "/copies/renommé.log") ' expect: Vrai
' A read-only file goes only with force.
fso.GetFile(root & "/a.txt").Attributes = 1
MsgBox fso.GetFile(root & "/a.txt").Attributes And 1 ' expect: 1
On Error Resume Next
fso.DeleteFile root & "/a.txt"
MsgBox Err.Number & " " & fso.FileExists(root & "/a.txt") ' expect: 70 Vrai
Err.Clear
fso.DeleteFile root & "/*.none"
MsgBox Err.Number ' expect: 53
On Error GoTo 0
fso.DeleteFile root & "/a.txt", True
MsgBox fso.FileExists(root & "/a.txt") ' expect: Faux
fso.DeleteFile root & "/copies/*.*"
MsgBox fso.GetFolder(root & "/copies").Files.Count ' expect: 0
fso.DeleteFolder root
MsgBox fso.FolderExists(root) ' expect: Faux
