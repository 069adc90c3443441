' A handler's error stops the script even where the script resumes on errors.
Dim Scanner
Set Scanner = WScript.CreateObject("OPOS.Scanner", "S_")
Sub S_DataEvent(Status)
    Dim x
    x = 1 / 0 ' expect error: Division par zéro
End Sub
On Error Resume Next
Scanner.Open "SimScanner"
Scanner.Claim 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
Scanner.DirectIO 1, 0, "4006381333931"
WScript.Sleep 20
Dim i
For i = 1 To 100000
Next
WScript.Echo "jamais"
