-- 10 million iterations of s = s + i.
local s = 0
for i = 1, 10000000 do
  s = s + i
end
print(s)
