# 10 million iterations of s = s + i, at module level as the VBScript twin runs.
s = 0
for i in range(1, 10000001):
    s = s + i
print(s)
