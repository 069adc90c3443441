Dim s
s = "x"
s = s + 1 ' expect error: Type incompatible
