' Scanner : ouvrir, attendre une lecture et la montrer.

Sub Ouvrir()
    Scanner.Open "SimScanner"
    Scanner.Claim 1000
    Scanner.DeviceEnabled = True
    Scanner.DataEventEnabled = True
    Scanner.DecodeData = True
End Sub

' La boîte reste ouverte le temps de scanner : les événements arrivent
' pendant ce temps (un vrai scanner, ou « Bonne lecture » du simulateur).
Sub AttendreLecture()
    Scanner.DataEventEnabled = True
    MsgBox "Scannez une étiquette, puis cliquez sur OK.", 0, "Lecture"
    MontrerLecture
End Sub

' Une lecture jouée par le simulateur (commande DirectIO 1), sans attendre.
Sub SimulerLecture()
    Dim symbologie, etiquette
    symbologie = 0
    etiquette = "4006381333931"
    Scanner.DirectIO 1, symbologie, etiquette
End Sub

Sub MontrerLecture()
    If Scanner.ScanData = "" Then
        MsgBox "Aucune lecture.", 48, "Lecture"
    Else
        MsgBox "Étiquette : " & Scanner.ScanDataLabel & vbCr & "Symbologie : " & Scanner.ScanDataType & _
               vbCr & "Brut : " & Scanner.ScanData, 64, "Lecture"
    End If
End Sub

Sub Fermer()
    Scanner.Close
End Sub
