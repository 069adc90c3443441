MsgBox "[" & Space(3) & "]" ' expect: [   ]
MsgBox String(3, "ab") ' expect: aaa
MsgBox String(2, 65) ' expect: AA
