// zorv-list-devices [--root DIR]
// Lists the devices the bench could use, with the profile lines to copy and,
// for each one the program may not open, the group or udev rule it lacks.
// --root reads DIR/dev, DIR/sys and DIR/proc instead of the system's.
// Exit status: 0 listed, 2 usage.
#include <exception>
#include <iostream>
#include <string>

#include "discovery/device_discovery.h"

int main(int argc, char** argv) {
    try {
        zorv::opos::discovery::Roots roots;
        if (argc == 3 && std::string(argv[1]) == "--root") {
            const std::string root = argv[2];
            roots = {root + "/dev", root + "/sys", root + "/proc"};
        } else if (argc != 1) {
            std::cerr << "usage: zorv-list-devices [--root DIR]\n";
            return 2;
        }
        std::cout << zorv::opos::discovery::FormatDevices(zorv::opos::discovery::ListDevices(roots));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "zorv-list-devices: " << error.what() << "\n";
        return 1;
    }
}
