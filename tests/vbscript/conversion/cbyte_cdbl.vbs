MsgBox CByte(255) ' expect: 255
MsgBox TypeName(CByte(1)) ' expect: Byte
MsgBox CDbl("1,25") ' expect: 1,25
MsgBox CDbl("&H10") ' expect: 16
MsgBox CDbl("1e2") ' expect: 100
MsgBox CByte(256) ' expect error: Dépassement de capacité
