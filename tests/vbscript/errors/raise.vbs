On Error Resume Next
Err.Raise 1000, "MaSource", "Mon erreur"
MsgBox Err.Number ' expect: 1000
MsgBox Err.Source ' expect: MaSource
MsgBox Err.Description ' expect: Mon erreur
Err.Raise 9
MsgBox Err.Description ' expect: L'indice n'appartient pas à la sélection
