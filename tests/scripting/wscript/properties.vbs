' The host's own properties.
WScript.Echo WScript.ScriptName ' expect: properties.vbs
WScript.Echo Right(WScript.ScriptFullName, 23) ' expect: /wscript/properties.vbs
WScript.Echo Left(WScript.ScriptFullName, 1) ' expect: /
WScript.Echo WScript.Version ' expect: 5.8
WScript.Echo WScript.Name ' expect: Windows Script Host
WScript.Echo WScript.Arguments.Count & " " & WScript.Arguments.Named.Count & " " & WScript.Arguments.Unnamed.Count ' expect: 0 0 0
WScript.Echo WScript.Timeout ' expect: 0
