' Lecteur de pistes : ouvrir, passer une carte, lire ce qu'elle porte.

Sub Ouvrir()
    MSR.Open "SimMSR"
    MSR.Claim 1000
    MSR.DeviceEnabled = True
    MSR.DecodeData = True
    MSR.ParseDecodeData = True
    MSR.DataEventEnabled = True
End Sub

' Une carte de test au format ISO 7813 B, pistes séparées par "|" (commande DirectIO 1).
Sub PasserCarte()
    Dim rien, pistes
    rien = 0
    pistes = "B4111111111111111^DUPONT/JEAN M.MR^29121010000000000000|4111111111111111=29121010000000000"
    MSR.DirectIO 1, rien, pistes
End Sub

Sub AttendreCarte()
    MSR.DataEventEnabled = True
    MsgBox "Passez une carte, puis cliquez sur OK.", 0, "Carte"
    MontrerCarte
End Sub

Sub MontrerCarte()
    If MSR.AccountNumber = "" Then
        MsgBox "Aucune carte lue.", 48, "Carte"
        Exit Sub
    End If
    MsgBox "Numéro : " & MSR.AccountNumber & vbCr & _
           "Titulaire : " & MSR.Title & " " & MSR.FirstName & " " & MSR.MiddleInitial & " " & MSR.Surname & vbCr & _
           "Expire : " & Right(MSR.ExpirationDate, 2) & "/" & Left(MSR.ExpirationDate, 2) & vbCr & _
           "Code service : " & MSR.ServiceCode, 64, "Carte"
End Sub

Sub Fermer()
    MSR.Close
End Sub
