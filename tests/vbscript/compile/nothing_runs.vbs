MsgBox "not shown"
Dim x
x = ) ' expect error: Expression attendue
