MsgBox ScriptEngine ' expect: VBScript
MsgBox ScriptEngineMajorVersion & "." & ScriptEngineMinorVersion ' expect: 5.8
MsgBox ScriptEngineBuildVersion > 0 ' expect: Vrai
MsgBox TypeName(ScriptEngineMajorVersion) ' expect: Long
