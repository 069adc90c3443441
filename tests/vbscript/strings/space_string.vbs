MsgBox "[" & Space(3) & "]" ' expect: [   ]
MsgBox String(3, "xy") ' expect: xxx
MsgBox String(2, 65) ' expect: AA
MsgBox "[" & String(0, "a") & "]" ' expect: []
MsgBox IsNull(String(2, Null)) ' expect: Vrai
