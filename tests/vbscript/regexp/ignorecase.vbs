Dim re
Set re = New RegExp
re.Pattern = "hello"
MsgBox re.Test("HeLLo world") ' expect: Faux
re.IgnoreCase = True
MsgBox re.Test("HeLLo world") ' expect: Vrai
re.Pattern = "[a-c]+"
MsgBox re.Execute("xxABCa")(0).Value ' expect: ABCa
re.Pattern = "É"
MsgBox re.Test("café") ' expect: Vrai
