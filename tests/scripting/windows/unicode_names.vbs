' Names beyond the code page reach the system whole: created, listed, read, appended, removed.
Dim fso, root, p, ts, item, names
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
fso.CreateFolder root
p = fso.BuildPath(root, "été_" & ChrW(&H3A9) & ChrW(&H4E2D) & ".txt")
Set ts = fso.CreateTextFile(p)
ts.Write "ok"
ts.Close
MsgBox fso.FileExists(p) & " " & (fso.GetFile(p).Name = "été_" & ChrW(&H3A9) & ChrW(&H4E2D) & ".txt") ' expect: Vrai Vrai
For Each item In fso.GetFolder(root).Files
    names = names & AscW(Mid(item.Name, 5, 1)) & " " & AscW(Mid(item.Name, 6, 1))
Next
MsgBox names ' expect: 937 20013
Set ts = fso.OpenTextFile(p, 8)
ts.Write "!"
ts.Close
MsgBox fso.OpenTextFile(p).ReadAll & " " & fso.GetFile(p).Size ' expect: ok! 3
fso.CopyFile p, fso.BuildPath(root, ChrW(&H3A9) & ".bak")
MsgBox fso.FileExists(fso.BuildPath(root, ChrW(&H3A9) & ".bak")) ' expect: Vrai
fso.DeleteFile p
MsgBox fso.FileExists(p) ' expect: Faux
fso.DeleteFolder root
