Dim x
x = 6
MsgBox Eval("x * 7") ' expect: 42
MsgBox Eval("x = 6") ' expect: Vrai
MsgBox TypeName(Eval("1 + 1")) ' expect: Integer
