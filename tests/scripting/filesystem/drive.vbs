' Linux has one drive, the root of the file system.
Dim fso, d, n
Set fso = CreateObject("Scripting.FileSystemObject")
MsgBox fso.Drives.Count & " " & fso.DriveExists("/") & " " & fso.DriveExists("C:") ' expect: 1 Vrai Faux
Set d = fso.GetDrive("/")
MsgBox TypeName(d) & " " & d.Path & " " & d.IsReady & " " & d.DriveType ' expect: Drive / Vrai 2
MsgBox d.TotalSize > 0 And d.FreeSpace >= d.AvailableSpace ' expect: Vrai
MsgBox d.RootFolder.IsRootFolder ' expect: Vrai
For Each d In fso.Drives
    n = n + 1
Next
MsgBox n ' expect: 1
MsgBox fso.GetFile("/etc/hostname").Drive.Path ' expect: /
