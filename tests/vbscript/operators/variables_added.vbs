' Sums and differences of two variables, and v = v + w, over every kind of value.
Dim a, b, c
a = 32767 : b = 1
c = a + b
MsgBox TypeName(c) & " " & c ' expect: Long 32768
a = -32768
c = a - b
MsgBox TypeName(c) & " " & c ' expect: Long -32769
a = 2147483647
c = a + b
MsgBox TypeName(c) & " " & c ' expect: Double 2147483648
a = 1.5 : b = 2
c = a + b
MsgBox TypeName(c) & " " & c ' expect: Double 3,5
a = "10" : b = 5
c = a + b
MsgBox TypeName(c) & " " & c ' expect: Double 15
c = a - b
MsgBox c ' expect: 5
a = "ab" : b = "cd"
c = a + b
MsgBox c ' expect: abcd
a = Null
c = a + b
MsgBox IsNull(c) ' expect: Vrai
a = Empty : b = 7
c = a + b
MsgBox TypeName(c) & " " & c ' expect: Integer 7
a = 1E308 : b = 1E308
On Error Resume Next
c = a + b
MsgBox Err.Number ' expect: 6
Err.Clear
a = "x" : b = 1
c = a - b
MsgBox Err.Number ' expect: 13
On Error GoTo 0
a = 32767 : b = 1
a = a + b
MsgBox TypeName(a) & " " & a ' expect: Long 32768
a = "1" : b = 2
a = a + b
MsgBox TypeName(a) & " " & a ' expect: Double 3
a = "x" : b = "y"
a = a + b
MsgBox a ' expect: xy
a = 1.25 : b = 2
a = a + b
MsgBox a ' expect: 3,25
Function Local()
  Dim p, q
  p = 20000 : q = 20000
  Local = TypeName(p + q) & " " & (p - q)
  p = p + q
  Local = Local & " " & TypeName(p)
End Function
MsgBox Local() ' expect: Long 0 Long
