' Wine's own script host drives our registered OPOS objects: a printer that
' prints and reads back what it printed, and a scanner that takes a scan.
' Each line is compared with the expected output by cscript_opos.sh.
Dim Printer, Scanner, Keylock, length, printed, taken
Set Printer = CreateObject("OPOS.POSPrinter")
WScript.Echo "printer open " & Printer.Open("SimPrinter")
WScript.Echo "printer claim " & Printer.ClaimDevice(1000)
Printer.DeviceEnabled = True
WScript.Echo "printer enabled " & Printer.ResultCode
WScript.Echo "print " & Printer.PrintNormal(2, "Bonjour de cscript" & vbLf)
length = 2 : printed = ""
Printer.DirectIO 4, length, printed
WScript.Echo "read back [" & Replace(printed, vbLf, "|") & "]"

Set Scanner = CreateObject("OPOS.Scanner")
Scanner.Open "SimScanner"
Scanner.ClaimDevice 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
taken = 0
Scanner.DirectIO 1, taken, "4006381333931"
WScript.Echo "scan taken by " & taken
' This host has no message loop of its own between statements: the scan
' waits in the queue until something runs the thread's messages.
WScript.Echo "queued " & Scanner.DataCount & " [" & Scanner.ScanData & "]"
' A keylock wait runs them, and with them the scanner's DataEvent.
Set Keylock = CreateObject("OPOS.Keylock")
Keylock.Open "SimKeylock"
Keylock.DeviceEnabled = True
WScript.Echo "wait " & Keylock.WaitForKeylockChange(3, 50)
WScript.Echo "delivered " & Scanner.DataCount & " [" & Scanner.ScanData & "]"
Keylock.Close
Scanner.Close
Printer.Close
WScript.Echo "closed " & Printer.State & " " & Scanner.State
