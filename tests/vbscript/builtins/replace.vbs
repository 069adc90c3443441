MsgBox Replace("a-b-c", "-", "+") ' expect: a+b+c
MsgBox Replace("a-b-c", "-", "", 1, 1) ' expect: ab-c
MsgBox Replace("aXbx", "x", "_", 1, -1, vbTextCompare) ' expect: a_b_
MsgBox Replace("abcabc", "b", "B", 3) ' expect: caBc
