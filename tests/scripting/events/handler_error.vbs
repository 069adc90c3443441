' An error in a handler is reported like any run error, at the handler's line.
Dim Scanner
Set Scanner = WScript.CreateObject("OPOS.Scanner", "S_")
Sub S_DataEvent(Status)
    Err.Raise 1234, , "panne du gestionnaire" ' expect error: panne du gestionnaire
End Sub
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
