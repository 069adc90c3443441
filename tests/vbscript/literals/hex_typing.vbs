' With the & suffix hexadecimal and octal digits are 32 bits, without it 16
' when they fit; the literal takes the smallest type that holds its value.
MsgBox TypeName(&h10&) & " " & &h10& ' expect: Integer 16
MsgBox TypeName(&hFFFF&) & " " & &hFFFF& ' expect: Long 65535
MsgBox TypeName(&hFFFFFFFF&) & " " & &hFFFFFFFF& ' expect: Integer -1
MsgBox TypeName(&hFFFF) & " " & &hFFFF ' expect: Integer -1
MsgBox TypeName(&h8000) & " " & &h8000 ' expect: Integer -32768
MsgBox TypeName(&h10000) & " " & &h10000 ' expect: Long 65536
MsgBox TypeName(&h80000000) & " " & &h80000000 ' expect: Long -2147483648
MsgBox TypeName(&o177777) & " " & &o177777 ' expect: Integer -1
MsgBox TypeName(&o177777&) & " " & &o177777& ' expect: Long 65535
