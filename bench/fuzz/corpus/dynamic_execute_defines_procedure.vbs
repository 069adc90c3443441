Execute "Sub Hello(n)" & vbCrLf & "MsgBox ""Bonjour "" & n" & vbCrLf & "End Sub"
Hello "Lea" ' expect: Bonjour Lea
