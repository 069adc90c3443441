' Environment reads this process's variables, the user's environment.d files
' (here those beside this test) and, by default, the machine-wide set.
Dim sh, env, line, seen, u
Set sh = CreateObject("WScript.Shell")
Set env = sh.Environment("Process")
MsgBox env("ZORV_TEST_GREETING") & "|" & env("zorv_test_greeting") & "|" & env("ZORV_NOT_SET") & "|" ' expect: bonjour|bonjour||
MsgBox sh.Environment("PROCESS")("ZORV_TEST_GREETING") ' expect: bonjour
MsgBox (env.Count > 2) & " " & (env.Length = env.Count) ' expect: Vrai Vrai
For Each line In env
    If line = "ZORV_TEST_GREETING=bonjour" Then seen = True
Next
MsgBox seen ' expect: Vrai
Set u = sh.Environment("USER")
MsgBox u.Count & " " & u("ZORV_EDITOR") & " [" & u("ZORV_QUOTED") & "] " & u("ZORV_LATER") ' expect: 3 vim [deux mots] second
MsgBox TypeName(sh.Environment) & " " & sh.Environment("Volatile").Count ' expect: IWshEnvironment 0
On Error Resume Next
Set env = sh.Environment("ELSEWHERE")
MsgBox Err.Number ' expect: 5
