MsgBox "oops ' expect error: Constante chaîne non terminée
