' s = s + v with v a plain variable: every kind of value on either side.
Dim s, v
s = 32767 : v = 1
s = s + v
MsgBox TypeName(s) & " " & s ' expect: Long 32768
s = 2147483647 : v = 1
s = s + v
MsgBox TypeName(s) & " " & s ' expect: Double 2147483648
s = "a" : v = "b"
s = s + v
MsgBox s ' expect: ab
s = "1" : v = 2
s = s + v
MsgBox TypeName(s) & " " & s ' expect: Double 3
s = 1 : v = Null
s = s + v
MsgBox IsNull(s) ' expect: Vrai
s = Empty : v = Empty
s = s + v
MsgBox TypeName(s) ' expect: Integer
s = 0.5 : v = 1
s = s + v
MsgBox TypeName(s) & " " & s ' expect: Double 1,5
s = 1.7976931348623157E308 : v = 1.7976931348623157E308
s = s + v ' expect error: Dépassement de capacité
