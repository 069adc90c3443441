MsgBox DateValue("32/13/2024") ' expect error: Type incompatible: 'DateValue'
