' Only objects that describe events can be connected.
On Error Resume Next
WScript.ConnectObject CreateObject("Scripting.Dictionary"), "D_"
WScript.Echo Err.Number ' expect: 5
Err.Clear
WScript.DisconnectObject CreateObject("OPOS.Scanner")
WScript.Echo Err.Number ' expect: 5
