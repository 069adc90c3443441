Const K = 1
K = 2 ' expect error: Affectation illégale
