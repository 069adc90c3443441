Dim o
Set o = 5 ' expect error: Objet requis
