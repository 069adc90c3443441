' Imprimante : ouvrir, imprimer un ticket avec un code-barres, fermer.
' Dans la fenêtre, choisir "Printer", coller ces procédures dans la page
' Script et taper le nom d'une procédure près de "Exécuter".

Sub Ouvrir()
    Printer.Open "SimPrinter"
    Printer.Claim 1000
    Printer.DeviceEnabled = True
End Sub

' Station 2 : le ticket. Les séquences ESC | ... sont celles d'OPOS.
Sub ImprimerTicket()
    Dim esc
    esc = Chr(27)
    Printer.PrintNormal 2, esc & "|cA" & esc & "|bCMAGASIN ZORV" & vbLf
    Printer.PrintNormal 2, "Café                  2,10" & vbLf
    Printer.PrintNormal 2, "Croissant             1,30" & vbLf
    Printer.PrintNormal 2, esc & "|bCTOTAL                 3,40" & vbLf
    ' EAN-13 (104), hauteur 80 points, largeur 200, centré (-2), texte dessous (-13).
    Printer.PrintBarCode 2, "4006381333931", 104, 80, 200, -2, -13
    Printer.CutPaper 90
    If Printer.ResultCode <> 0 Then MsgBox "Impression refusée : " & Printer.ResultCode & " / " & Printer.ResultCodeExtended
End Sub

' Ce que le simulateur a imprimé sur le ticket (commande DirectIO 4).
Sub RelireTicket()
    Dim longueur, texte
    longueur = 2
    texte = ""
    Printer.DirectIO 4, longueur, texte
    MsgBox texte, 0, "Ticket imprimé"
End Sub

Sub Fermer()
    Printer.Close
End Sub
