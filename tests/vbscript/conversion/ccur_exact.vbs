' Currency keeps all its digits: 15 before the decimal sign, 4 after.
MsgBox CCur(17167680177565) ' expect: 17167680177565
MsgBox CCur("922337203685477,5807") ' expect: 922337203685477,5807
MsgBox CCur("-922337203685477,5808") ' expect: -922337203685477,5808
MsgBox CCur(CCur("123456789012,3456")) ' expect: 123456789012,3456
' Texts round half to even at the fourth decimal, digit by digit.
MsgBox CCur("0,00005") & " " & CCur("0,00015") & " " & CCur("0,000051") ' expect: 0 0,0002 0,0001
MsgBox CCur(" -2,5 ") & " " & CCur("1E3") ' expect: -2,5 1000
MsgBox CCur(2.5) & " " & CCur(-0.25) ' expect: 2,5 -0,25
On Error Resume Next
x = CCur("922337203685477,5808")
MsgBox Err.Number ' expect: 6
Err.Clear
x = CCur(-1E+15)
MsgBox Err.Number ' expect: 6
Err.Clear
x = CCur("abc")
MsgBox Err.Number ' expect: 13
