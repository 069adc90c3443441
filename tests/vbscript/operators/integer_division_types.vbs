' \ and Mod on Integers and Longs: the result's type, the sign of a
' remainder, and the errors, as for any other operands.
Dim a, b, n
a = 7 : b = -2
MsgBox TypeName(a \ b) & " " & (a \ b) & " " & (a Mod b) & " " & (-a Mod b) ' expect: Integer -3 1 -1
a = CLng(7)
MsgBox TypeName(a \ 2) & " " & TypeName(a Mod b) & " " & (100000 \ 7) & " " & (100000 Mod 7) ' expect: Long Long 14285 5
a = CInt(-32768) : b = -1
MsgBox TypeName(a \ b) & " " & (a \ b) & " " & TypeName(a Mod b) ' expect: Long 32768 Integer
a = CByte(200) : b = CByte(7)
MsgBox TypeName(a \ b) & " " & (a Mod b) ' expect: Byte 4
For n = 1 To 12
  If n Mod 4 = 0 Then a = a & n
Next
MsgBox a ' expect: 2004812
On Error Resume Next
b = 0
n = 5 Mod b
MsgBox Err.Number ' expect: 11
Err.Clear
a = -2147483647 - 1 : b = -1
n = a \ b
MsgBox Err.Number & " " & (a Mod b) ' expect: 6 0
Err.Clear
n = Null
MsgBox IsNull(n \ 2) & " " & Err.Number ' expect: Vrai 0
