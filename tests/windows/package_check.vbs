' Run from the unzipped package: a registered scanner takes a scan.
Dim Scanner, taken
Set Scanner = CreateObject("OPOS.Scanner")
Scanner.Open "SimScanner"
Scanner.ClaimDevice 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
taken = 0
Scanner.DirectIO 1, taken, "4006381333931"
WScript.Sleep 50
WScript.Echo Scanner.ScanData
Scanner.Close
