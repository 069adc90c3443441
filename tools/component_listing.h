#pragma once
// zorv-vbs --components: prints the components loaded from the folder beside
// the executable and every problem met. Exit status 0 when there was none, 1 otherwise.

int ListComponents();
