' Asynchronous printing completes with the OutputID that the print gave.
Dim Printer, done
Set Printer = WScript.CreateObject("OPOS.POSPrinter", "Imprimante_")
Sub Imprimante_OutputCompleteEvent(OutputID)
    done = done & OutputID & ";"
End Sub
Printer.Open "SimPrinter"
Printer.Claim 1000
Printer.DeviceEnabled = True
Printer.AsyncMode = True
Printer.PrintNormal 2, "Ticket 1" & vbLf
Dim first
first = Printer.OutputID
Printer.PrintNormal 2, "Ticket 2" & vbLf
WScript.Sleep 50
WScript.Echo (done = first & ";" & Printer.OutputID & ";") ' expect: Vrai
Printer.Close
