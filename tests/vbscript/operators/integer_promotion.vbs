Dim i
i = 32767
MsgBox TypeName(i + 1) ' expect: Long
MsgBox i + 1 ' expect: 32768
MsgBox TypeName(2147483647 + 1) ' expect: Double
MsgBox TypeName(CByte(200) + CByte(100)) ' expect: Integer
MsgBox TypeName(CByte(2) + CByte(3)) ' expect: Byte
MsgBox TypeName(100 * 1000) ' expect: Long
