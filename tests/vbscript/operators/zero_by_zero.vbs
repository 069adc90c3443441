MsgBox 0 / 0 ' expect error: Dépassement de capacité
