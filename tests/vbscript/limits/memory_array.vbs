Dim a
ReDim a(100000000) ' expect error: Mémoire insuffisante
