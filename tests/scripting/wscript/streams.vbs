' StdIn reads lines and reports its end; StdOut writes.
' stdin: première ligne
' stdin: seconde
Dim line
line = WScript.StdIn.ReadLine
WScript.StdOut.WriteLine "lu : " & line ' expect: lu : première ligne
WScript.StdOut.Write "a"
WScript.StdOut.Write "b" & vbLf ' expect: ab
WScript.StdOut.WriteBlankLines 1 ' expect:
WScript.Echo WScript.StdIn.AtEndOfStream ' expect: Faux
' The rest keeps its line end.
WScript.StdOut.Write WScript.StdIn.ReadAll ' expect: seconde
WScript.Echo WScript.StdIn.AtEndOfStream ' expect: Vrai
On Error Resume Next
line = WScript.StdIn.ReadLine
WScript.Echo Err.Number ' expect: 62
Err.Clear
WScript.StdIn.Write "x"
WScript.Echo Err.Number ' expect: 54
