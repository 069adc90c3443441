' An object added to a script control under a name: the procedure
' name_EventName handles that event, with its arguments.
Dim sc, s
Set s = CreateObject("OPOS.Scanner")
s.Open "SimScanner"
s.Claim 1000
s.DeviceEnabled = True
s.DataEventEnabled = True
Set sc = CreateObject("ScriptControl")
sc.Language = "VBScript"
sc.AddObject "Scanner", s
sc.AddCode "Dim got" & vbCrLf & "Sub Scanner_DataEvent(Status)" & vbCrLf & _
    "got = Scanner.ScanData & ""/"" & Status" & vbCrLf & "End Sub"
s.DirectIO 1, 0, "4006381333931"
MsgBox "attente" ' expect: attente
MsgBox sc.Eval("got") ' expect: ]E04006381333931/0
' Without a procedure for it, an event is simply dropped.
s.DataEventEnabled = True
s.DirectIO 6, 7, "rien"
MsgBox "rien" ' expect: rien
s.Close
