' Clavier POS : ouvrir, lire une touche.

Sub Ouvrir()
    POSKeyboard.Open "SimPOSKeyboard"
    POSKeyboard.Claim 1000
    POSKeyboard.DeviceEnabled = True
    POSKeyboard.DataEventEnabled = True
End Sub

Sub AttendreTouche()
    POSKeyboard.DataEventEnabled = True
    MsgBox "Appuyez sur une touche du clavier POS, puis cliquez sur OK.", 0, "Clavier"
    MsgBox "Dernière touche : " & POSKeyboard.POSKeyData, 64, "Clavier"
End Sub

' Le simulateur frappe la touche 65 (commande DirectIO 1).
Sub SimulerTouche()
    Dim code, sens
    code = 65
    sens = ""
    POSKeyboard.DirectIO 1, code, sens
End Sub

Sub Fermer()
    POSKeyboard.Close
End Sub
