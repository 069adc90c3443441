-- String building: 1,000,000 appends. Lua strings are immutable, so the
-- linear-time idiom is a buffer table joined once (s = s .. "ab" is quadratic).
local parts = {}
for i = 1, 1000000 do
  parts[#parts + 1] = "ab"
end
local s = table.concat(parts)
print(#s)
