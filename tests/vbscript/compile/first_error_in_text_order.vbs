' The error reported is the first in the text, whether the parser or the
' compiler found it; nothing runs.
MsgBox "not shown"
Sub S
  Exit For ' expect error: Instruction 'exit' non valide
End Sub
x = )
