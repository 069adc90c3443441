SetLocale "xx-yy" ' expect error: Argument ou appel de procédure incorrect: 'SetLocale'
