' Folders and files at Windows paths: creation, walking, copying, moving,
' attributes and deletion, wildcards and either separator.
Dim fso, root, f, names, item
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
MsgBox Mid(root, 2, 2) ' expect: :\
Set f = fso.CreateFolder(root)
MsgBox TypeName(f) & " " & (f.Path = root) & " " & f.Drive.Path ' expect: Folder Vrai C:
fso.CreateFolder root & "\sous"
fso.CreateTextFile(root & "\b.log").Write "12345"
fso.CreateTextFile(root & "/a.txt").Write "abc"
f.CreateTextFile("sous\c.txt").Write "c"
For Each item In f.Files
    names = names & item.Name & "(" & item.Size & ") "
Next
MsgBox Trim(names) ' expect: a.txt(3) b.log(5)
MsgBox f.SubFolders.Count & " " & f.SubFolders("sous").Files.Count & " " & f.Size ' expect: 1 1 9
MsgBox f.Files("a.txt").Path = root & "\a.txt" ' expect: Vrai
MsgBox f.SubFolders("sous").Files("c.txt").ParentFolder.ParentFolder.Path = root ' expect: Vrai
MsgBox Abs(DateDiff("s", f.Files("a.txt").DateLastModified, Now)) < 120 ' expect: Vrai
MsgBox Abs(DateDiff("s", f.Files("a.txt").DateCreated, Now)) < 120 ' expect: Vrai
MsgBox f.Attributes And 16 ' expect: 16
fso.CreateFolder root & "\copies"
fso.CopyFile root & "\*.txt", root & "\copies\"
MsgBox fso.GetFolder(root & "\copies").Files.Count ' expect: 1
fso.CopyFolder root & "\sous", root & "\sous2"
MsgBox fso.FileExists(root & "\sous2\c.txt") ' expect: Vrai
fso.MoveFolder root & "\sous2", root & "\copies\sous3"
MsgBox fso.FolderExists(root & "\sous2") & " " & fso.FileExists(root & "\copies\sous3\c.txt") ' expect: Faux Vrai
Set item = fso.GetFile(root & "\b.log")
item.Move root & "\copies\"
MsgBox item.Path = root & "\copies\b.log" ' expect: Vrai
item.Name = "renommé.log"
MsgBox fso.FileExists(root & "\copies\renommé.log") ' expect: Vrai
MsgBox item.Path = root & "\copies\renommé.log" ' expect: Vrai
' Read-only is the file's own attribute.
fso.GetFile(root & "\a.txt").Attributes = 1
MsgBox fso.GetFile(root & "\a.txt").Attributes And 1 ' expect: 1
On Error Resume Next
fso.DeleteFile root & "\a.txt"
MsgBox Err.Number & " " & fso.FileExists(root & "\a.txt") ' expect: 70 Vrai
Err.Clear
fso.DeleteFile root & "\*.none"
MsgBox Err.Number ' expect: 53
On Error GoTo 0
fso.DeleteFile root & "\a.txt", True
MsgBox fso.FileExists(root & "\a.txt") ' expect: Faux
' A tree holding a read-only file goes only with force, and then whole.
fso.GetFile(root & "\copies\sous3\c.txt").Attributes = 1
On Error Resume Next
fso.DeleteFolder root & "\copies"
MsgBox Err.Number & " " & fso.FileExists(root & "\copies\sous3\c.txt") ' expect: 70 Vrai
On Error GoTo 0
fso.DeleteFolder root & "\copies", True
MsgBox fso.FolderExists(root & "\copies") ' expect: Faux
fso.DeleteFolder root
MsgBox fso.FolderExists(root) ' expect: Faux
