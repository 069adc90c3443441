' Windows paths: drive letters and shares, either separator; what comes back uses "\".
Dim fso
Set fso = CreateObject("Scripting.FileSystemObject")
MsgBox fso.BuildPath("C:\rapports", "mars.csv") ' expect: C:\rapports\mars.csv
MsgBox fso.BuildPath("C:\rapports\", "\mars.csv") ' expect: C:\rapports\mars.csv
MsgBox fso.BuildPath("C:", "mars.csv") ' expect: C:mars.csv
MsgBox fso.GetParentFolderName("C:/rapports//2024/mars.csv") ' expect: C:\rapports\2024
MsgBox fso.GetParentFolderName("C:\mars.csv") ' expect: C:\
MsgBox "[" & fso.GetParentFolderName("C:\") & "]" ' expect: []
MsgBox fso.GetFileName("C:\rapports\mars.csv") & "|" & fso.GetFileName("C:\") & "|" ' expect: mars.csv||
MsgBox fso.GetBaseName("D:\journal.2024.txt") & " " & fso.GetExtensionName("D:\journal.2024.txt") ' expect: journal.2024 txt
MsgBox fso.GetDriveName("c:\windows") & "|" & fso.GetDriveName("relatif") & "|" & fso.GetDriveName("/racine") ' expect: c:||
MsgBox fso.GetDriveName("\\serveur\partage\f.txt") ' expect: \\serveur\partage
MsgBox fso.GetParentFolderName("\\serveur\partage\f.txt") ' expect: \\serveur\partage\
MsgBox fso.BuildPath("\\serveur\partage", "f.txt") & " " & fso.GetFileName("\\serveur/partage\f.txt") ' expect: \\serveur\partage\f.txt f.txt
MsgBox "[" & fso.GetFileName("\\serveur\partage") & "]" ' expect: []
MsgBox fso.GetAbsolutePathName("C:\a\.\b\..\c") ' expect: C:\a\c
MsgBox fso.GetAbsolutePathName("C:/a/b/") ' expect: C:\a\b
MsgBox fso.GetDriveName(fso.GetAbsolutePathName("relatif")) <> "" ' expect: Vrai
