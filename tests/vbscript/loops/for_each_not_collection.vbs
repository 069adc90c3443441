Dim x
For Each x In 5 ' expect error: Cet objet n'est pas une collection
Next
