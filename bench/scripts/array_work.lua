-- Array work: fill a 1,000,000-element array, then sum it, five times.
local a = {}
local total = 0
for pass = 1, 5 do
  for i = 0, 999999 do
    a[i] = i + pass
  end
  for i = 0, 999999 do
    total = total + a[i]
  end
end
print(total)
