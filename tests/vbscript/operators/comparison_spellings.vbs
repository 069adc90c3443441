' The old spellings =>, =< and >< mean >=, <= and <>.
MsgBox 3 => 2 ' expect: Vrai
MsgBox 2 => 3 ' expect: Faux
MsgBox 2 =< 2 ' expect: Vrai
MsgBox 3 =< 2 ' expect: Faux
MsgBox 2 >< 3 ' expect: Vrai
MsgBox 2 >< 2 ' expect: Faux
If "a" =< "b" Then MsgBox "text" ' expect: text
