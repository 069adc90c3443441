MsgBox Left("Bonjour", 3) ' expect: Bon
MsgBox Right("Bonjour", 4) ' expect: jour
MsgBox Mid("Bonjour", 4) ' expect: jour
MsgBox Mid("Bonjour", 2, 3) ' expect: onj
MsgBox Mid("abc", 10) = "" ' expect: Vrai
MsgBox Len("Bonjour") ' expect: 7
MsgBox Len(12345) ' expect: 5
MsgBox IsNull(Left(Null, 2)) ' expect: Vrai
