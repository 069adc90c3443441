MsgBox vbOKOnly & vbOKCancel & vbAbortRetryIgnore & vbYesNoCancel & vbYesNo & vbRetryCancel ' expect: 012345
MsgBox vbCritical & " " & vbQuestion & " " & vbExclamation & " " & vbInformation ' expect: 16 32 48 64
MsgBox vbDefaultButton1 & " " & vbDefaultButton2 & " " & vbDefaultButton3 & " " & vbDefaultButton4 ' expect: 0 256 512 768
MsgBox vbApplicationModal & " " & vbSystemModal ' expect: 0 4096
MsgBox vbOK & vbCancel & vbAbort & vbRetry & vbIgnore & vbYes & vbNo ' expect: 1234567
MsgBox vbMsgBoxHelpButton & " " & vbMsgBoxSetForeground & " " & vbMsgBoxRight & " " & vbMsgBoxRtlReading ' expect: 16384 65536 524288 1048576
