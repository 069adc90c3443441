Dim answer
answer = MsgBox("Continuer ?", vbYesNo) ' expect: Continuer ?
MsgBox answer = vbYes ' expect: Vrai
