' Null, Empty and out-of-range arguments across the library: Null passes
' through the text and rounding functions, is refused (94) by those that
' need a number or a character, and bad ranges give 5 or 6.
Function Probe(expression)
  Dim r
  On Error Resume Next
  r = Eval(expression)
  If Err.Number <> 0 Then
    Probe = "err " & Err.Number
  ElseIf IsNull(r) Then
    Probe = "Null"
  Else
    Probe = TypeName(r) & " " & r
  End If
End Function
MsgBox Probe("Atn(Null)") & ", " & Probe("Exp(Null)") & ", " & Probe("Log(Null)") ' expect: err 94, err 94, err 94
MsgBox Probe("Sin(Null)") & ", " & Probe("Tan(Null)") & ", " & Probe("Sqr(Null)") ' expect: err 94, err 94, err 94
MsgBox Probe("CByte(Null)") & ", " & Probe("CInt(Null)") & ", " & Probe("CDbl(Null)") & ", " & Probe("CSng(Null)") ' expect: err 94, err 94, err 94, err 94
MsgBox Probe("Chr(Null)") & ", " & Probe("ChrB(Null)") & ", " & Probe("ChrW(Null)") & ", " & Probe("AscB(Null)") ' expect: err 94, err 94, err 94, err 94
MsgBox Probe("Space(Null)") & ", " & Probe("WeekdayName(Null)") & ", " & Probe("TimeSerial(Null, 0, 0)") ' expect: err 94, err 94, err 94
MsgBox Probe("FormatCurrency(Null)") & ", " & Probe("FormatPercent(Null)") & ", " & Probe("FormatDateTime(Null)") ' expect: err 94, err 94, err 94
MsgBox Probe("LTrim(Null)") & ", " & Probe("RTrim(Null)") & ", " & Probe("Right(Null, 1)") & ", " & Probe("InStrRev(Null, ""a"")") ' expect: Null, Null, Null, Null
MsgBox Probe("LeftB(Null, 1)") & ", " & Probe("RightB(Null, 1)") & ", " & Probe("MidB(Null, 1)") ' expect: Null, Null, Null
MsgBox Probe("IsArray(Null)") & ", " & Probe("IsEmpty(Null)") & ", " & Probe("IsNumeric(Null)") & ", " & Probe("IsObject(Null)") ' expect: Boolean Faux, Boolean Faux, Boolean Faux, Boolean Faux
MsgBox Probe("Join(Null)") & ", " & Probe("LBound(Null)") & ", " & Probe("UBound(Null)") ' expect: err 13, err 13, err 13
MsgBox Probe("Log(0)") & ", " & Probe("Log(-1)") & ", " & Probe("Sqr(-1)") & ", " & Probe("Exp(1000)") ' expect: err 5, err 5, err 5, err 6
MsgBox Probe("Space(-1)") & ", " & Probe("Chr(256)") & ", " & Probe("ChrW(65536)") & ", " & Probe("Right(""ab"", -1)") ' expect: err 5, err 5, err 5, err 5
MsgBox Probe("CByte(256)") & ", " & Probe("CInt(32768)") & ", " & Probe("CSng(1E39)") & ", " & Probe("WeekdayName(8)") ' expect: err 6, err 6, err 6, err 5
MsgBox Probe("AscW(ChrW(-1))") & ", " & Probe("Atn(Empty)") & ", " & Probe("Sgn(Empty)") & ", " & Probe("Len(Space(Empty))") ' expect: Integer -1, Double 0, Integer 0, Long 0
