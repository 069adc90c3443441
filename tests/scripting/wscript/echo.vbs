' Echo prints its values on one line, separated by spaces, as the engine prints them.
WScript.Echo "un", 2, 2.5, True, Null ' expect: un 2 2,5 Vrai Null
WScript.Echo ' expect:
WScript.Echo CByte(7) & "" & Empty ' expect: 7
On Error Resume Next
WScript.Echo CreateObject("Scripting.Dictionary")
WScript.Echo Err.Number ' expect: 13
On Error GoTo 0
' Dates as the engine prints them.
WScript.Echo #12/31/2024 14:05:09#, #1/2/2024#, #14:05:09# ' expect: 31/12/2024 14:05:09 02/01/2024 14:05:09
WScript.Echo #12/29/1899 06:00# ' expect: 29/12/1899 06:00:00
