' DirectIO writes its data and string back into the script's variables.
Dim Scanner, count, notes
Set Scanner = CreateObject("OPOS.Scanner")
Scanner.Open "SimScanner"
count = 99
notes = "avant"
Scanner.DirectIO 9, count, notes
MsgBox count ' expect: 0
MsgBox "[" & notes & "]" ' expect: []
Scanner.Close
