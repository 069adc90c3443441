' Sleep waits at least its time; Quit ends the script at once.
Dim t
t = Timer
WScript.Sleep 120
WScript.Echo (Timer - t >= 0.1) ' expect: Vrai
On Error Resume Next
WScript.Sleep -1
WScript.Echo Err.Number ' expect: 5
On Error GoTo 0
WScript.Quit
WScript.Echo "jamais"
