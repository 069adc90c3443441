Dim depth
depth = 3
MsgBox Eval("Eval(""depth + 1"") * 2") ' expect: 8
