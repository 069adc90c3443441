' Words that are keywords only in some places serve as names elsewhere.
Dim Property, Error, Default, Step, Explicit, Preserve
Property = 1 : Error = 2 : Default = 3 : Step = 4 : Explicit = 5 : Preserve = 6
MsgBox Property + Error + Default + Step + Explicit + Preserve ' expect: 21
Dim i
For i = 1 To Step Step Step \ 2
  MsgBox i ' expect: 1
' expect: 3
Next
Function Get(Let, Set2) : Get = Let & Set2 : End Function
MsgBox Get("a", "b") ' expect: ab
Sub Error2(Property) : MsgBox "param " & Property : End Sub
Error2 7 ' expect: param 7
Class Property2
  Public Default
  Public Property
  Public Step
  Public Error
  Public Property Get Explicit : Explicit = "x" : End Property
End Class
Dim d : Set d = New Property2
d.Default = 1 : d.Property = 2 : d.Step = 3 : d.Error = 4
MsgBox d.Default & d.Property & d.Step & d.Error & d.Explicit ' expect: 1234x
MsgBox TypeName(d) ' expect: Property2
On Error Resume Next
Err.Raise 5
MsgBox Err.Number ' expect: 5
