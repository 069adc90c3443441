Option Explicit
Dim declared
declared = 1
MsgBox declared ' expect: 1
undeclared = 2 ' expect error: Variable non définie: 'undeclared'
