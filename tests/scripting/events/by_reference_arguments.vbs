' A handler writes its by-reference arguments; the device sees what it wrote.
Dim Scanner, number, text
Set Scanner = WScript.CreateObject("OPOS.Scanner", "S_")
Sub S_DirectIOEvent(EventNumber, pData, pString)
    WScript.Echo "événement " & EventNumber & " " & pData & " " & pString
    pData = pData * 2
    pString = "réponse à " & pString
End Sub
Scanner.Open "SimScanner"
Scanner.DirectIO 6, 21, "question" ' expect: événement 21 21 question
WScript.Sleep 10
Scanner.DirectIO 7, number, text
WScript.Echo number & " | " & text ' expect: 42 | réponse à question
Scanner.Close
