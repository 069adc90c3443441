Class A
End Class
Class A ' expect error: Nom redéfini
End Class
