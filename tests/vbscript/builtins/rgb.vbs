MsgBox RGB(1, 2, 3) ' expect: 197121
MsgBox RGB(255, 255, 255) = vbWhite ' expect: Vrai
MsgBox RGB(300, 0, 999) ' expect: 16711935
MsgBox TypeName(RGB(0, 0, 0)) ' expect: Long
MsgBox RGB(-1, 0, 0) ' expect error: Argument ou appel de procédure incorrect
