NoSuchThing 1 ' expect error: Type incompatible: 'NoSuchThing'
