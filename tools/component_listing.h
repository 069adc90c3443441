#pragma once
// zorv-vbs --components: prints the components loaded from the folder beside
// the executable and every problem met; on Windows also the OPOS controls and
// the service objects' logical devices the machine has installed. Exit status 0
// when there was no problem, 1 otherwise.

int ListComponents();
