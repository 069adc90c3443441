#pragma once
// zorv-list-devices and zorv-vbs --list-devices: the serial ports, USB
// printers, input devices and hidraw nodes a profile could name, with the
// section to copy and, for each one the program may not open, the group or
// udev rule it lacks.
//   [--kind KIND]  only the devices that could be a KIND (Scanner, POSPrinter...)
//   [--root DIR]   reads DIR/dev, DIR/sys and DIR/proc instead of the system's
// Exit status 0 listed, 2 usage.
#include <ostream>
#include <string>
#include <vector>

int ListDevices(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
