' The program publishes each device object in the registry; a script fetches
' it back by its registry name, as the preamble does.
Dim reg
Set reg = CreateObject("Morvel.Registry")
reg.AddObject "OPOS Scanner", CreateObject("OPOS.Scanner")
Dim Scanner
Set Scanner = reg.GetObject("OPOS Scanner")
Scanner.Open "SimScanner"
Scanner.Claim 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
MsgBox Scanner.State ' expect: 2
Dim data, label
data = 0
label = "4006381333931"
MsgBox Scanner.DirectIO(1, data, label) ' expect: 0
MsgBox Scanner.ScanData ' expect: ]E04006381333931
Scanner.Close
