Dim a(1), o
MsgBox TypeName(CInt(1)) & " " & VarType(CInt(1)) ' expect: Integer 2
MsgBox TypeName(CLng(1)) & " " & VarType(CLng(1)) ' expect: Long 3
MsgBox TypeName(CSng(1)) & " " & VarType(CSng(1)) ' expect: Single 4
MsgBox TypeName(CDbl(1)) & " " & VarType(CDbl(1)) ' expect: Double 5
MsgBox TypeName(CCur(1)) & " " & VarType(CCur(1)) ' expect: Currency 6
MsgBox TypeName(CDate(1)) & " " & VarType(CDate(1)) ' expect: Date 7
MsgBox TypeName("") & " " & VarType("") ' expect: String 8
MsgBox TypeName(Nothing) & " " & VarType(Nothing) ' expect: Nothing 9
MsgBox TypeName(True) & " " & VarType(True) ' expect: Boolean 11
MsgBox TypeName(CByte(1)) & " " & VarType(CByte(1)) ' expect: Byte 17
MsgBox TypeName(a) & " " & VarType(a) ' expect: Variant() 8204
MsgBox TypeName(Empty) & " " & VarType(Empty) ' expect: Empty 0
MsgBox TypeName(Null) & " " & VarType(Null) ' expect: Null 1
Set o = New RegExp
MsgBox TypeName(o) & " " & VarType(o) ' expect: IRegExp2 9
