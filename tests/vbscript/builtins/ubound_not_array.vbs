MsgBox UBound(5) ' expect error: Type incompatible: 'UBound'
