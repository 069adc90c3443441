MsgBox AscW(vbCr) & " " & AscW(vbLf) & " " & Len(vbCrLf) ' expect: 13 10 2
MsgBox vbNewLine = vbCrLf ' expect: Vrai
MsgBox AscW(vbTab) & " " & AscW(vbNullChar) & " " & Len(vbNullString) ' expect: 9 0 0
MsgBox AscW(vbFormFeed) & " " & AscW(vbVerticalTab) ' expect: 12 11
