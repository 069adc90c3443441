Loop ' expect error: 'loop' sans 'do'
