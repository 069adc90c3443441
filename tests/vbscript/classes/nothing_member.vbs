Dim o
Set o = Nothing
MsgBox o.Name ' expect error: Variable objet ou variable de bloc With non définie
