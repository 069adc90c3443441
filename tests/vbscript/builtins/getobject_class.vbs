Dim o
Set o = GetObject(, "OPOS.Scanner") ' expect error: Un composant ActiveX ne peut pas créer un objet
