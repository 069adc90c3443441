Sub Forever
  Forever ' expect error: Espace pile insuffisant
End Sub
Forever
