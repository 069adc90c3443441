Dim Scanner
Set Scanner = CreateObject("OPOS.Scanner")
MsgBox Scanner.Open("NoSuchDevice") ' expect: 109
Dim missing
Set missing = CreateObject("OPOS.NoSuchKind") ' expect error: Un composant ActiveX ne peut pas créer un objet
