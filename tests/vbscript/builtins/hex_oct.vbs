MsgBox Hex(255) ' expect: FF
MsgBox Hex(-1) ' expect: FFFF
MsgBox Hex(65536) ' expect: 10000
MsgBox Hex(CLng(-1)) ' expect: FFFFFFFF
MsgBox Oct(8) ' expect: 10
MsgBox IsNull(Hex(Null)) ' expect: Vrai
