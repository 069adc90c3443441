MsgBox CStr(123) ' expect: 123
MsgBox CStr(-0.5) ' expect: -0,5
MsgBox CStr(CSng(1) / 3) ' expect: 0,3333333
MsgBox CStr(CCur(1.23456)) ' expect: 1,2346
MsgBox CStr(1234567890123456) ' expect: 1,23456789012346E+15
