// A profile with a connection is a real device; the others are simulated.
#include "backends/escpos/escpos_drawer.h"
#include "backends/escpos/escpos_printer.h"
#include "backends/device_backends.h"
#include "backends/sim/sim_backend.h"

namespace zorv::opos {

std::unique_ptr<Backend> MakeBackend(const Profile& profile) {
    if (auto device = real::MakeDeviceBackend(profile))
        return device;
    if (!profile.connection.empty() && profile.kind == Kind::Printer)
        return std::make_unique<escpos_device::EscPosPrinter>(profile);
    if (!profile.connection.empty() && profile.kind == Kind::CashDrawer)
        return std::make_unique<escpos_device::EscPosDrawer>(profile);
    return std::make_unique<SimBackend>(profile);
}

} // namespace zorv::opos
