Dim re
Set re = New RegExp
re.Global = True
re.Pattern = "\d+(?=€)"
MsgBox re.Execute("10$ 20€ 30€")(0) ' expect: 20
re.Pattern = "\b\d+\b(?!€)"
MsgBox re.Execute("10€ 20$")(0) ' expect: 20
re.Pattern = "^(?=.*\d)(?=.*[a-z]).{6,}$"
MsgBox re.Test("abc123") & re.Test("abcdef") ' expect: VraiFaux
