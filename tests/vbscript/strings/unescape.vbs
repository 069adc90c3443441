MsgBox Unescape("a%20b") ' expect: a b
MsgBox AscW(Unescape("%u20AC")) ' expect: 8364
MsgBox Unescape("%E9") ' expect: é
MsgBox Unescape("100%") ' expect: 100%
MsgBox Unescape("%zz%u12") ' expect: %zz%u12
MsgBox Unescape(Escape("Crème brûlée & co")) ' expect: Crème brûlée & co
MsgBox IsNull(Unescape(Null)) ' expect: Vrai
