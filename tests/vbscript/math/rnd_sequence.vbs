' The generator is VBScript's own: scripts that replay a fixed sequence
' (no Randomize, or Rnd with a negative argument) get the same numbers.
SetLocale "en-us"
MsgBox Rnd() & " " & Rnd() & " " & Rnd() ' expect: 0.7055475 0.533424 0.5795186
MsgBox Rnd(-1) & " " & Rnd() ' expect: 0.224007 0.03584582
MsgBox Rnd(0) ' expect: 0.03584582
