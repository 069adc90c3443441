MsgBox vbBinaryCompare & " " & vbTextCompare ' expect: 0 1
MsgBox vbGeneralDate & vbLongDate & vbShortDate & vbLongTime & vbShortTime ' expect: 01234
MsgBox vbUseDefault & " " & vbTrue & " " & vbFalse ' expect: -2 -1 0
MsgBox vbObjectError ' expect: -2147221504
MsgBox Hex(vbObjectError + 1) ' expect: 80040001
