MsgBox IsNull(UCase(Null)) & IsNull(LCase(Null)) & IsNull(Trim(Null)) ' expect: VraiVraiVrai
MsgBox UCase(12) ' expect: 12
