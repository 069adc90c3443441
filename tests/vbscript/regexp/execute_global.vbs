Dim re, ms, m
Set re = New RegExp
re.Pattern = "\d+"
re.Global = True
Set ms = re.Execute("a1 b22 c333")
MsgBox ms.Count ' expect: 3
For Each m In ms
  MsgBox m.FirstIndex & ":" & m.Length & ":" & m ' expect: 1:1:1
Next ' expect: 4:2:22
' expect: 8:3:333
MsgBox ms(2) & " " & ms.Item(0).Value ' expect: 333 1
