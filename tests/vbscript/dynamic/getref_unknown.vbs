Dim f
Set f = GetRef("Nowhere") ' expect error: Argument ou appel de procédure incorrect
