Class Plain
End Class
Dim o, v
Set o = New Plain
v = o ' expect error: Cet objet ne gère pas cette propriété ou cette méthode
