' Drives are the system's letters: C: is there, "/" is not one.
Dim fso, d, n, letters
Set fso = CreateObject("Scripting.FileSystemObject")
MsgBox fso.DriveExists("C:") & " " & fso.DriveExists("c") & " " & fso.DriveExists("C:\") & " " & fso.DriveExists("/") ' expect: Vrai Vrai Vrai Faux
Set d = fso.GetDrive("c:")
MsgBox TypeName(d) & " " & d.Path & " " & d.DriveLetter & " " & d.IsReady ' expect: Drive C: C Vrai
MsgBox d.TotalSize > 0 And d.FreeSpace >= d.AvailableSpace ' expect: Vrai
MsgBox d.DriveType & " " & (d.FileSystem <> "") & " " & (d.SerialNumber <> 0) ' expect: 2 Vrai Vrai
MsgBox d.RootFolder.Path & " " & d.RootFolder.IsRootFolder ' expect: C:\ Vrai
For Each d In fso.Drives
    n = n + 1
    letters = letters & d.DriveLetter
Next
MsgBox n = fso.Drives.Count And InStr(letters, "C") > 0 ' expect: Vrai
MsgBox fso.Drives("C").Path & " " & fso.Drives("c:\").Path ' expect: C: C:
MsgBox LCase(fso.GetSpecialFolder(0).Path) ' expect: c:\windows
MsgBox InStr(LCase(fso.GetSpecialFolder(1).Path), "c:\windows\") ' expect: 1
MsgBox fso.GetSpecialFolder(2).Drive.Path = fso.GetDriveName(fso.GetSpecialFolder(2).Path) ' expect: Vrai
MsgBox fso.GetFolder("C:\").IsRootFolder & " " & fso.GetFolder("C:\windows").IsRootFolder ' expect: Vrai Faux
MsgBox fso.GetFolder("C:\windows").ParentFolder.Path ' expect: C:\
On Error Resume Next
Set d = fso.GetDrive("relatif")
MsgBox Err.Number ' expect: 71
