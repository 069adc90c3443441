MsgBox CSng(1.5) ' expect: 1,5
MsgBox TypeName(CSng(1)) ' expect: Single
MsgBox CSng("0,1") ' expect: 0,1
MsgBox CSng(1/3) ' expect: 0,3333333
