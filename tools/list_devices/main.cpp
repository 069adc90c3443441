// zorv-list-devices [--kind KIND] [--root DIR]
// Lists the devices the bench could use, with the profile section to copy
// and, for each one the program may not open, the group or udev rule it
// lacks. --kind keeps the devices that could be a KIND; --root reads
// DIR/dev, DIR/sys and DIR/proc instead of the system's.
// Exit status: 0 listed, 2 usage.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "device_listing.h"

int main(int argc, char** argv) {
    try {
        return ListDevices(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "zorv-list-devices: " << error.what() << "\n";
        return 1;
    } catch (...) {
        std::cerr << "zorv-list-devices: erreur interne\n";
        return 1;
    }
}
