' A compile error names the line and the column of the first problem.
Dim total
total = 1 +  * 2 ' expect error: Expression attendue
' expect column: 14
