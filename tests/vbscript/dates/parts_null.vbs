MsgBox IsNull(Year(Null)) & IsNull(Month(Null)) & IsNull(Day(Null)) ' expect: VraiVraiVrai
MsgBox IsNull(Hour(Null)) & IsNull(Minute(Null)) & IsNull(Second(Null)) ' expect: VraiVraiVrai
MsgBox IsNull(Weekday(Null)) ' expect: Vrai
