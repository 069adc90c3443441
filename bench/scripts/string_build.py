# String building: 1,000,000 appends. Recent CPython no longer appends in
# place at module level (s += "ab" turned quadratic), so the linear-time
# idiom is a list joined once, as in the Lua twin.
parts = []
for i in range(1, 1000001):
    parts.append("ab")
s = "".join(parts)
print(len(s))
