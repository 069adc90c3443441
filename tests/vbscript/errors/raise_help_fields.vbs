' Err.Raise keeps its help file and context; Clear and the next error reset them.
On Error Resume Next
Err.Raise 1000, "MaSource", "Texte", "aide.hlp", 42
MsgBox Err.HelpFile & "|" & Err.HelpContext ' expect: aide.hlp|42
Sub Deep
    Err.Raise 1001, "Ici", "Plus bas", "profond.hlp", 7
End Sub
Deep
MsgBox Err.Number & "|" & Err.HelpFile & "|" & Err.HelpContext ' expect: 1001|profond.hlp|7
x = 1 / 0
MsgBox Err.Number & "|" & Err.HelpFile & "|" & Err.HelpContext ' expect: 11||0
Err.Raise 1002, , , "seul.hlp"
MsgBox Err.Source & "|" & Err.HelpFile & "|" & Err.HelpContext ' expect: Erreur d'exécution VBScript|seul.hlp|0
Err.Clear
MsgBox Err.HelpFile & "|" & Err.HelpContext ' expect: |0
