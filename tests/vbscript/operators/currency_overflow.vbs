' Past the range of Currency every operation raises 6.
On Error Resume Next
x = CCur("922337203685476,5807") + 1
MsgBox Err.Number & " " & x ' expect: 0 922337203685477,5807
x = CCur("922337203685477,5807") + 1
MsgBox Err.Number ' expect: 6
Err.Clear
x = CCur("-922337203685477,5808") - CCur("0,0001")
MsgBox Err.Number ' expect: 6
Err.Clear
x = -CCur("-922337203685477,5808")
MsgBox Err.Number ' expect: 6
Err.Clear
x = CCur("1000000000000") * CCur("1000")
MsgBox Err.Number ' expect: 6
Err.Clear
x = Int(CCur("-922337203685477,5808"))
MsgBox Err.Number ' expect: 6
Err.Clear
x = Abs(CCur("-922337203685477,5808"))
MsgBox Err.Number ' expect: 6
