' %NAME% takes the process's value; what names nothing stays as written.
Dim sh
Set sh = CreateObject("WScript.Shell")
MsgBox sh.ExpandEnvironmentStrings("<%ZORV_TEST_GREETING%>") ' expect: <bonjour>
MsgBox sh.ExpandEnvironmentStrings("%ZORV_NOT_SET%/%zorv_test_greeting%") ' expect: %ZORV_NOT_SET%/bonjour
MsgBox sh.ExpandEnvironmentStrings("100% %%ZORV_TEST_GREETING% 50%") ' expect: 100% %bonjour 50%
MsgBox sh.ExpandEnvironmentStrings("") & "|" & sh.ExpandEnvironmentStrings("%") ' expect: |%
