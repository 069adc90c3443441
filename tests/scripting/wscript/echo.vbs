' Echo prints its values on one line, separated by spaces, as the engine prints them.
WScript.Echo "un", 2, 2.5, True, Null ' expect: un 2 2,5 Vrai Null
WScript.Echo ' expect:
WScript.Echo CByte(7) & "" & Empty ' expect: 7
On Error Resume Next
WScript.Echo CreateObject("Scripting.Dictionary")
WScript.Echo Err.Number ' expect: 13
