Dim x
Set x = New Missing ' expect error: Classe non définie: 'Missing'
