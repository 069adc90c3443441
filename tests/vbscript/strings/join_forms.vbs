MsgBox Join(Array(1, 2, 3)) ' expect: 1 2 3
MsgBox Join(Array("a", "b"), "") ' expect: ab
MsgBox Join(Array()) & "|" ' expect: |
MsgBox Join(Array("a", Empty, "c"), "-") ' expect: a--c
