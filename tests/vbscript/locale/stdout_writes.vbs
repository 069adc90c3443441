' StdOut writes values in the script's words, as Echo does.
WScript.StdOut.WriteLine 1.5 ' expect: 1,5
WScript.StdOut.WriteLine CDate(1) ' expect: 31/12/1899
WScript.StdOut.WriteLine True ' expect: Vrai
WScript.StdOut.Write CCur("2,25")
WScript.StdOut.Write " "
WScript.StdOut.Write False
WScript.StdOut.WriteLine ' expect: 2,25 Faux
x = 0.25
WScript.StdOut.WriteLine x ' expect: 0,25
