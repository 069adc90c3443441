DIM Value
value = 3
MSGBOX VALUE ' expect: 3
If value = 3 THEN msgbox "yes" ' expect: yes
