MsgBox vbEmpty & " " & vbNull & " " & vbInteger & " " & vbLong & " " & vbSingle & " " & vbDouble ' expect: 0 1 2 3 4 5
MsgBox vbCurrency & " " & vbDate & " " & vbString & " " & vbObject & " " & vbError ' expect: 6 7 8 9 10
MsgBox vbBoolean & " " & vbVariant & " " & vbDataObject & " " & vbDecimal & " " & vbByte & " " & vbArray ' expect: 11 12 13 14 17 8192
