MsgBox #1/1/2024# + 1 ' expect: 02/01/2024
MsgBox #1/3/2024# - #1/1/2024# ' expect: 2
MsgBox #1/1/2024# < #1/2/2024# ' expect: Vrai
