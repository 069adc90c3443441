' Currency arithmetic is exact to four decimals over the whole range.
Big = CCur("922337203685477")
MsgBox Big + CCur("0,5807") ' expect: 922337203685477,5807
MsgBox CCur("123456789012,3456") * 2 ' expect: 246913578024,6912
MsgBox CCur("-922337203685477,5808") + 1 ' expect: -922337203685476,5808
MsgBox CCur("0,0001") * CCur("0,5") & " " & CCur("0,0003") * CCur("0,5") ' expect: 0 0,0002
MsgBox CCur("100000000000,0001") - CCur("100000000000") ' expect: 0,0001
MsgBox CCur("92233720368,5477") * 10000 ' expect: 922337203685477
' Result types: with integers Currency, with Single or Double a Double.
MsgBox TypeName(CCur(1) + 1) & TypeName(CCur(1) * CLng(3)) & TypeName(CByte(2) - CCur(1)) ' expect: CurrencyCurrencyCurrency
MsgBox TypeName(CCur(1) + 1.5) & " " & TypeName(CCur(1) * CSng(2)) ' expect: Double Double
MsgBox CCur(3) / CCur(2) & " " & TypeName(CCur(3) / 2) ' expect: 1,5 Double
MsgBox CCur(7) \ 2 & " " & TypeName(CCur(7) \ 2) & " " & CCur(7) Mod 2 ' expect: 3 Long 1
MsgBox -CCur("922337203685477,5807") ' expect: -922337203685477,5807
' Comparisons see the last digit.
MsgBox CCur("922337203685477,5807") > CCur("922337203685477,5806") ' expect: Vrai
MsgBox CCur("900719925474099,3") = CCur("900719925474099,2") ' expect: Faux
MsgBox CCur(5) = 5 ' expect: Vrai
MsgBox CCur("2147483647,0001") > 2147483647 ' expect: Vrai
' Int, Fix and Round work on the scaled integer.
MsgBox Int(CCur("-2,5")) & " " & Fix(CCur("-2,5")) & " " & TypeName(Int(CCur(1))) ' expect: -3 -2 Currency
MsgBox Int(CCur("922337203685477,5807")) ' expect: 922337203685477
MsgBox Round(CCur("2,345"), 2) & " " & Round(CCur("2,355"), 2) & " " & Round(CCur("2,5")) ' expect: 2,34 2,36 2
MsgBox Round(CCur("922337203685476,5"), 0) ' expect: 922337203685476
