Dim a
a = 2
If a = 2 Then MsgBox "two" ' expect: two
If a = 3 Then MsgBox "three" Else MsgBox "not three" ' expect: not three
If a = 2 Then a = 10 : MsgBox a ' expect: 10
If a = 0 Then MsgBox "x" : MsgBox "y"
