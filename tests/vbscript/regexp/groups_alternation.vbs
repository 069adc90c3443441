Dim re
Set re = New RegExp
re.Pattern = "(?:ab)+"
MsgBox re.Execute("xababab")(0) & " " & re.Execute("xababab")(0).SubMatches.Count ' expect: ababab 0
re.Pattern = "gr(a|e)y"
MsgBox re.Execute("grey")(0).SubMatches(0) ' expect: e
re.Pattern = "cat|category"
MsgBox re.Execute("category")(0) ' expect: cat
re.Pattern = "(a|ab)(c|bcd)(d*)"
MsgBox re.Execute("abcd")(0) & " " & re.Execute("abcd")(0).SubMatches(1) ' expect: abcd bcd
