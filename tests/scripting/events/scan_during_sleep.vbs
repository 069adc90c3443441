' A scan reaches its handler while the script sleeps; WScript.CreateObject
' with a prefix connects the new object's events.
Dim Scanner, seen
Set Scanner = WScript.CreateObject("OPOS.Scanner", "Scanner_")
Sub Scanner_DataEvent(Status)
    seen = Scanner.ScanData
    Scanner.DataEventEnabled = True
End Sub
Scanner.Open "SimScanner"
Scanner.Claim 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
Scanner.DirectIO 1, 0, "4006381333931"
WScript.Echo "avant : [" & seen & "]" ' expect: avant : []
WScript.Sleep 20
WScript.Echo "après : " & seen ' expect: après : ]E04006381333931
Scanner.Close
