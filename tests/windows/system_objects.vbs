' The system's own script objects, created by their standard ProgIDs: Wine
' registers its Scripting.Dictionary and FileSystemObject, so those serve
' rather than ours (their type names are the system's interface names).
Set d = CreateObject("Scripting.Dictionary")
d.Add "cle", 1
d("autre") = 2
WScript.Echo TypeName(d), d.Count, d("cle") + d.Item("autre"), Join(d.Keys, ",")
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo TypeName(fso), fso.FolderExists("C:\windows"), fso.GetFileName("C:\x\y.txt")
