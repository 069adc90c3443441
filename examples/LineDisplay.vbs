' Afficheur client : ouvrir, écrire deux lignes, effacer.

Sub Ouvrir()
    LineDisplay.Open "SimLineDisplay"
    LineDisplay.Claim 1000
    LineDisplay.DeviceEnabled = True
End Sub

' DISP_DT_NORMAL (0) ; ligne 0 puis ligne 1, colonne 0.
Sub Afficher()
    LineDisplay.ClearText
    LineDisplay.DisplayTextAt 0, 0, "Bonjour !", 0
    LineDisplay.DisplayTextAt 1, 0, "Total      12,50 EUR", 0
End Sub

' Ce que le simulateur montre (commande DirectIO 4).
Sub RelireAfficheur()
    Dim lignes, texte
    lignes = 0
    texte = ""
    LineDisplay.DirectIO 4, lignes, texte
    MsgBox texte, 0, lignes & " lignes"
End Sub

Sub Effacer()
    LineDisplay.ClearText
End Sub

Sub Fermer()
    LineDisplay.Close
End Sub
