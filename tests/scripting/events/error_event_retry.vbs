' An input error answered with retry: the handler writes pErrorResponse,
' the device brings the input back and a data event follows.
Const OPOS_ER_RETRY = 11
Dim Scanner, log
Set Scanner = CreateObject("OPOS.Scanner")
WScript.ConnectObject Scanner, "Lecteur_"
Sub Lecteur_ErrorEvent(ResultCode, ResultCodeExtended, ErrorLocus, pErrorResponse)
    log = log & "erreur " & ResultCode & "/" & ErrorLocus & ";"
    pErrorResponse = OPOS_ER_RETRY
    Scanner.DataEventEnabled = True
End Sub
Sub Lecteur_DataEvent(Status)
    log = log & "donnée " & Scanner.ScanData & ";"
End Sub
Scanner.Open "SimScanner"
Scanner.Claim 1000
Scanner.DeviceEnabled = True
Scanner.DataEventEnabled = True
Scanner.DirectIO 2, 0, "96385074"
WScript.Sleep 20
WScript.Echo log ' expect: erreur 111/2;donnée ]E496385074;
WScript.DisconnectObject Scanner
Scanner.DataEventEnabled = True
Scanner.DirectIO 1, 0, "96385074"
WScript.Sleep 20
WScript.Echo Len(log) ' expect: 32
Scanner.Close
