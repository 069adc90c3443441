' ASCII files are Windows-1252, Unicode files UTF-16LE with their mark;
' the default (-2) goes by the mark.
Dim fso, root, path, ts
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.BuildPath(fso.GetSpecialFolder(2).Path, fso.GetTempName)
fso.CreateFolder root
path = fso.BuildPath(root, "ansi.txt")
Set ts = fso.CreateTextFile(path, False, False)
ts.Write "é€"
ts.Close
MsgBox fso.GetFile(path).Size ' expect: 2
MsgBox fso.OpenTextFile(path).ReadAll ' expect: é€
MsgBox fso.OpenTextFile(path, 1, False, -2).ReadAll ' expect: é€
' A character the code page lacks becomes "?".
Set ts = fso.CreateTextFile(path, True)
ts.Write "a" & ChrW(&H3A9) & "b"
ts.Close
MsgBox fso.OpenTextFile(path).ReadAll ' expect: a?b
path = fso.BuildPath(root, "unicode.txt")
Set ts = fso.CreateTextFile(path, False, True)
ts.Write "é" & ChrW(&H3A9)
ts.Close
MsgBox fso.GetFile(path).Size ' expect: 6
MsgBox AscW(Mid(fso.OpenTextFile(path, 1, False, -1).ReadAll, 2)) ' expect: 937
MsgBox AscW(Mid(fso.OpenTextFile(path, 1, False, -2).ReadAll, 2)) ' expect: 937
' Read as ASCII, the same bytes are the mark and the code units.
MsgBox Len(fso.OpenTextFile(path, 1, False, 0).ReadAll) ' expect: 6
' Appending to a Unicode file keeps its format and writes no second mark.
Set ts = fso.OpenTextFile(path, 8, False, -2)
ts.Write "z"
ts.Close
MsgBox fso.GetFile(path).Size ' expect: 8
fso.DeleteFolder root
