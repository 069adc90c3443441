' Path parts from the text alone; "/" and "\" both separate.
Dim fso
Set fso = CreateObject("Scripting.FileSystemObject")
MsgBox TypeName(fso) ' expect: FileSystemObject
MsgBox fso.BuildPath("/tmp/a", "b.txt") ' expect: /tmp/a/b.txt
MsgBox fso.BuildPath("/tmp/a/", "b.txt") ' expect: /tmp/a/b.txt
MsgBox fso.BuildPath("dossier\", "\f.txt") ' expect: dossier\f.txt
MsgBox fso.GetBaseName("/var/log/journal.2024.txt") ' expect: journal.2024
MsgBox fso.GetExtensionName("C:\rapports\ventes.CSV") ' expect: CSV
MsgBox "[" & fso.GetExtensionName("/tmp/sans") & "]" ' expect: []
MsgBox fso.GetFileName("a\b\c.vbs") ' expect: c.vbs
MsgBox fso.GetParentFolderName("a\b\c.vbs") ' expect: a/b
MsgBox fso.GetParentFolderName("/racine.txt") ' expect: /
MsgBox fso.GetAbsolutePathName("/tmp/./x/../y") ' expect: /tmp/y
MsgBox fso.GetDriveName("/tmp") & "|" & fso.GetDriveName("relatif") ' expect: /|
Dim t
t = fso.GetTempName
MsgBox Len(t) & " " & Left(t, 3) & " " & Right(t, 4) ' expect: 12 rad .tmp
MsgBox fso.GetTempName <> fso.GetTempName ' expect: Vrai
