Class Secret
  Private hidden
  Public Sub SetIt
    hidden = 1
  End Sub
End Class
Dim s
Set s = New Secret
s.SetIt
MsgBox s.hidden ' expect error: Cet objet ne gère pas cette propriété ou cette méthode: 'hidden'
