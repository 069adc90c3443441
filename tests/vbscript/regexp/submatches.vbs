Dim re, m
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)\.(com|fr)"
Set m = re.Execute("écrire à jean@exemple.fr demain")(0)
MsgBox m.Value ' expect: jean@exemple.fr
MsgBox m.SubMatches.Count ' expect: 3
MsgBox m.SubMatches(0) & "|" & m.SubMatches.Item(1) & "|" & m.SubMatches(2) ' expect: jean|exemple|fr
MsgBox m.FirstIndex ' expect: 9
