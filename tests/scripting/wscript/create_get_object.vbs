' CreateObject and GetObject: by ProgID, or by the name the registry publishes.
Dim d, reg, same
Set d = WScript.CreateObject("Scripting.Dictionary")
WScript.Echo TypeName(d) ' expect: Dictionary
Set reg = CreateObject("Morvel.Registry")
reg.AddObject "Tiroir", d
Set same = WScript.GetObject("Tiroir")
WScript.Echo (same Is d) ' expect: Vrai
WScript.Echo TypeName(WScript.GetObject("", "Scripting.Dictionary")) ' expect: Dictionary
On Error Resume Next
Set d = WScript.CreateObject("Pas.Installe")
WScript.Echo Err.Number ' expect: 429
Err.Clear
Set d = WScript.GetObject("Inconnu")
WScript.Echo Err.Number ' expect: 429
