' Late-bound property reads on a simulated device: 1,000,000 reads of State.
' VBScript only: Lua and Python have no way to reach the device object.
Dim scanner, i, s
Set scanner = CreateObject("OPOS.Scanner")
For i = 1 To 1000000
  s = scanner.State
Next
MsgBox s
