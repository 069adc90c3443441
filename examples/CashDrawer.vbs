' Tiroir-caisse : ouvrir le tiroir et attendre qu'il soit refermé.

Sub Ouvrir()
    CashDrawer.Open "SimCashDrawer"
    CashDrawer.DeviceEnabled = True
End Sub

Sub OuvrirTiroir()
    CashDrawer.OpenDrawer
    MsgBox "Refermez le tiroir, puis cliquez sur OK.", 0, "Tiroir"
    If CashDrawer.DrawerOpened Then
        MsgBox "Le tiroir est resté ouvert.", 48, "Tiroir"
    Else
        MsgBox "Tiroir refermé.", 64, "Tiroir"
    End If
End Sub

' Avec le simulateur : WaitForDrawerClose voit le tiroir se refermer une fois
' armé par la commande DirectIO 8 (sans cela il répond 112 aussitôt).
Sub OuvrirEtAttendre()
    Dim rien, texte, resultat
    rien = 0
    texte = ""
    CashDrawer.OpenDrawer
    CashDrawer.DirectIO 8, rien, texte
    resultat = CashDrawer.WaitForDrawerClose(5000, 0, 0, 0)
    MsgBox "WaitForDrawerClose : " & resultat & ", ouvert : " & CashDrawer.DrawerOpened, 64, "Tiroir"
End Sub

Sub Fermer()
    CashDrawer.Close
End Sub
