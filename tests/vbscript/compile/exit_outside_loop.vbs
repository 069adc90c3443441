Exit For ' expect error: Instruction 'exit' non valide
