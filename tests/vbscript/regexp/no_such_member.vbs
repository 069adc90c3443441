Dim re
Set re = New RegExp
re.Frobnicate ' expect error: Cet objet ne gère pas cette propriété ou cette méthode
