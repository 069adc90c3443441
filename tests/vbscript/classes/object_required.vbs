Dim n
n = 5
MsgBox n.Value ' expect error: Objet requis
