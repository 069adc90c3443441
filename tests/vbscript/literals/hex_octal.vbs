MsgBox &HFF ' expect: 255
MsgBox &HFFFF ' expect: -1
MsgBox &HFFFF& ' expect: 65535
MsgBox &O17 ' expect: 15
MsgBox &H7FFFFFFF ' expect: 2147483647
