MsgBox WeekdayName(1) ' expect: dimanche
MsgBox WeekdayName(2, True) ' expect: lun.
MsgBox WeekdayName(1, False, vbMonday) ' expect: lundi
MsgBox MonthName(2) ' expect: février
MsgBox MonthName(12, True) ' expect: déc.
MsgBox MonthName(8) ' expect: août
