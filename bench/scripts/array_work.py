# Array work: fill a 1,000,000-element array, then sum it, five times.
a = [0] * 1000000
total = 0
for p in range(1, 6):
    for i in range(0, 1000000):
        a[i] = i + p
    for i in range(0, 1000000):
        total = total + a[i]
print(total)
