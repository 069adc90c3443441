Rem a comment
Dim a ' trailing comment
a = 1 + _
    2
MsgBox a ' expect: 3
a = 5 : MsgBox a ' expect: 5
REM another
