MsgBox DateValue("31/12/2024 14:05") ' expect: 31/12/2024
MsgBox TimeValue("31/12/2024 14:05") ' expect: 14:05:00
MsgBox DateValue(#12/31/2024 8:00#) ' expect: 31/12/2024
MsgBox TimeValue("2:30 PM") ' expect: 14:30:00
MsgBox TypeName(DateValue("1/2/2024")) ' expect: Date
MsgBox Month(DateValue("1/2/2024")) ' expect: 2
MsgBox IsNull(DateValue(Null)) & IsNull(TimeValue(Null)) ' expect: VraiVrai
