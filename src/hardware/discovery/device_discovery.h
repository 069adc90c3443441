#pragma once
// Candidate devices for the bench: serial ports (by their stable by-id
// names), USB printers, input devices with a guess of what they are, and
// hidraw nodes with vendor and product. The /dev, /sys and /proc roots are parameters, so a
// test can point them at a tree of its own. On Windows (win/): the COM ports
// and the logical devices the installed OPOS service objects declare; the
// roots mean nothing there.
#include <string>
#include <vector>

#include "hardware/discovery/device_access.h"

namespace zorv::opos::discovery {

struct Roots {
    std::string dev = "/dev";
    std::string sys = "/sys";
    std::string proc = "/proc";
};

enum class Family { Serial, UsbPrinter, Input, Hidraw, InstalledOpos };
enum class Guess { Unknown, Scanner, CardReader, Keyboard };

struct Candidate {
    Family family;
    std::string path;            // what the profile should name: the by-id link when there is one
    std::string node;            // the device node behind it
    std::string name;            // as the kernel or the by-id link names it
    std::string vendor, product; // four hex digits each, when known
    Guess guess = Guess::Unknown;
    std::string access; // empty when the program may open it
    std::string kind;   // InstalledOpos: the kind its service object declares it under
};

// The families this system's listing looks for, in the order a report shows them.
const std::vector<Family>& ListedFamilies();

std::vector<Candidate> ListDevices(const Roots& roots = {}, const AccessCheck& check = SystemAccess);

// Guess from an input device's name and whether it has a keyboard handler.
Guess GuessInputDevice(const std::string& name, bool keyboard);

} // namespace zorv::opos::discovery
