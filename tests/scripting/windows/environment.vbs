' The environment sets come from this process and the registry.
Dim sh, env, u
Set sh = CreateObject("WScript.Shell")
Set env = sh.Environment("Process")
MsgBox env("ZORV_TEST_GREETING") & "|" & env("zorv_test_greeting") & "|" & env("ZORV_NOT_SET") & "|" ' expect: bonjour|bonjour||
MsgBox LCase(sh.ExpandEnvironmentStrings("%SystemRoot%")) ' expect: c:\windows
MsgBox InStr(LCase(sh.Environment("SYSTEM")("PATH")), "%systemroot%") > 0 ' expect: Vrai
MsgBox sh.Environment("SYSTEM")("ZORV_NOT_SET") = "" ' expect: Vrai
Set u = sh.Environment("USER")
MsgBox TypeName(u) & " " & (u.Count >= 0) ' expect: IWshEnvironment Vrai
