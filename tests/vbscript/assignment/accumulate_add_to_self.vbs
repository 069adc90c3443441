Dim s, i
s = 32767
s = s + 1
MsgBox TypeName(s) & " " & s ' expect: Long 32768
s = "a"
s = s + "b"
MsgBox s ' expect: ab
s = Empty
s = s + 1
MsgBox TypeName(s) ' expect: Integer
s = Null
s = s + 1
MsgBox IsNull(s) ' expect: Vrai
s = 1.5
For i = 1 To 3
  s = s + i
Next
MsgBox s ' expect: 7,5
