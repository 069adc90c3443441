MsgBox 1.5 ' expect: 1,5
MsgBox 1E3 ' expect: 1000
MsgBox .25 ' expect: 0,25
MsgBox 1/3 ' expect: 0,333333333333333
MsgBox 1E20 ' expect: 1E+20
MsgBox 0.00001 ' expect: 1E-05
