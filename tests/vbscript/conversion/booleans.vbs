' True is -1: each conversion of it takes that value; CByte keeps its low byte.
MsgBox CByte(True) & " " & CByte(False) & " " & TypeName(CByte(True)) ' expect: 255 0 Byte
MsgBox CInt(True) & " " & TypeName(CInt(True)) ' expect: -1 Integer
MsgBox CLng(True) & " " & TypeName(CLng(True)) ' expect: -1 Long
MsgBox CSng(True) & " " & CDbl(True) & " " & TypeName(CDbl(False)) ' expect: -1 -1 Double
MsgBox CCur(True) & " " & TypeName(CCur(True)) ' expect: -1 Currency
MsgBox CDate(True) ' expect: 29/12/1899
MsgBox CStr(True) & " " & CStr(False) ' expect: Vrai Faux
MsgBox Hex(True) & " " & Oct(True) ' expect: FFFF 177777
MsgBox True + 1 & " " & TypeName(True + True) & " " & (True + True) ' expect: 0 Integer -2
MsgBox TypeName(CByte(1) + True) & " " & TypeName(True * 1.5) & " " & (True * 1.5) ' expect: Integer Double -1,5
MsgBox -True & " " & Abs(True) & " " & Sgn(True) & " " & (True \ 1) & " " & TypeName(True / 1) ' expect: 1 1 -1 -1 Double
MsgBox TypeName(CCur(2) + True) & " " & (CCur(2) + True) ' expect: Currency 1
