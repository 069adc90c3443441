Sub Show
  MsgBox 0.5
End Sub
SetLocale "en-us"
Show ' expect: 0.5
