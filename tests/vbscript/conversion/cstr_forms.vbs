MsgBox CStr(1.5) ' expect: 1,5
MsgBox CStr(True) ' expect: Vrai
MsgBox "[" & CStr(Empty) & "]" ' expect: []
MsgBox CStr(#12/31/2024#) ' expect: 31/12/2024
MsgBox CStr(CCur(12.5)) ' expect: 12,5
