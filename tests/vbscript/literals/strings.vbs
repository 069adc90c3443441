MsgBox "say ""hi""" ' expect: say "hi"
MsgBox "" & "x" ' expect: x
MsgBox Len("") ' expect: 0
