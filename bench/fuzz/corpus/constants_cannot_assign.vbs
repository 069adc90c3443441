vbCrLf = "x" ' expect error: Affectation illégale
