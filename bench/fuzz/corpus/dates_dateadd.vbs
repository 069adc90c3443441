MsgBox DateAdd("d", 1, #12/31/2024#) ' expect: 01/01/2025
MsgBox DateAdd("m", 1, #1/31/2024#) ' expect: 29/02/2024
MsgBox DateAdd("m", -1, #3/31/2023#) ' expect: 28/02/2023
MsgBox DateAdd("yyyy", 1, #2/29/2024#) ' expect: 28/02/2025
MsgBox DateAdd("q", 1, #1/15/2024#) ' expect: 15/04/2024
MsgBox DateAdd("ww", 2, #1/1/2024#) ' expect: 15/01/2024
MsgBox DateAdd("w", 3, #1/1/2024#) ' expect: 04/01/2024
MsgBox DateAdd("h", 25, #1/1/2024#) ' expect: 02/01/2024 01:00:00
MsgBox DateAdd("n", -1, #1/1/2024#) ' expect: 31/12/2023 23:59:00
MsgBox DateAdd("s", 90, #1/1/2024 10:00:00#) ' expect: 01/01/2024 10:01:30
MsgBox DateAdd("D", 1, "31/01/2024") ' expect: 01/02/2024
MsgBox IsNull(DateAdd("d", 1, Null)) ' expect: Vrai
