' Currency reads and writes amounts as the locale writes them.
MsgBox CCur("1 234,5") & " " & CCur("1" & ChrW(160) & "234,25") ' expect: 1234,5 1234,25
MsgBox CCur("12,5 €") & " " & CCur("-12,5 €") & " " & CCur("- 3 €") ' expect: 12,5 -12,5 -3
MsgBox CCur("922 337 203 685 477,5807") ' expect: 922337203685477,5807
MsgBox CStr(CCur("-0,0001")) ' expect: -0,0001
MsgBox SetLocale("en-us") ' expect: 1036
MsgBox CCur("$1,234.56") & " " & CCur("-$0.5") & " " & CCur("2.5") ' expect: 1234.56 -0.5 2.5
MsgBox CCur("922,337,203,685,477.5807") ' expect: 922337203685477.5807
MsgBox CCur(1.5) * 3 & " " & CStr(CCur("-0.0001")) ' expect: 4.5 -0.0001
On Error Resume Next
x = CCur("1.2.3")
MsgBox Err.Number ' expect: 13
