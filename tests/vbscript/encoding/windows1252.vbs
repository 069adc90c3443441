MsgBox AscW("é") ' expect: 233
