SetLocale 9999 ' expect error: Argument ou appel de procédure incorrect: 'SetLocale'
