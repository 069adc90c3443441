#pragma once
// zorv-vbs --list-devices: prints the serial ports, input devices and hidraw
// nodes a profile could name, with the lines to copy and, for each one the
// program may not open, the group or udev rule it lacks. Exit status 0.
#include <ostream>

int ListDevices(std::ostream& out);
