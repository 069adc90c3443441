' Serrure : ouvrir, réagir à la position de la clé.

Sub Ouvrir()
    Keylock.Open "SimKeylock"
    Keylock.DeviceEnabled = True
End Sub

Function NomPosition(position)
    Select Case position
        Case 1: NomPosition = "verrouillée"
        Case 2: NomPosition = "normale"
        Case 3: NomPosition = "superviseur"
        Case Else: NomPosition = "inconnue (" & position & ")"
    End Select
End Function

Sub AttendreCle()
    MsgBox "Tournez la clé, puis cliquez sur OK.", 0, "Clé"
    ReagirPosition
End Sub

Sub ReagirPosition()
    If Keylock.KeyPosition = 3 Then
        MsgBox "Mode superviseur : les annulations sont permises.", 64, "Clé"
    Else
        MsgBox "Clé en position " & NomPosition(Keylock.KeyPosition) & ".", 64, "Clé"
    End If
End Sub

' Le simulateur tourne la clé en position superviseur (commande DirectIO 1).
Sub SimulerSuperviseur()
    Dim position, rien
    position = 3
    rien = ""
    Keylock.DirectIO 1, position, rien
End Sub

Sub Fermer()
    Keylock.Close
End Sub
