Err.Raise vbObjectError + 1, "Moi", "Panne du scanner" ' expect error: Panne du scanner
