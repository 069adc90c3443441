#include "device_listing.h"

#include "discovery/device_discovery.h"

int ListDevices(std::ostream& out) {
    out << zorv::opos::discovery::FormatDevices(zorv::opos::discovery::ListDevices());
    return 0;
}
