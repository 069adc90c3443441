#include "backends/input/node_backend.h"

#include <cstring>

#include "model/opos_codes.h"
#include "platform/com/text.h"
#include "backends/serial/serial_scanner.h"

namespace zorv::opos::real {

NodeBackend::NodeBackend(std::string path, bool hold)
    : hold_(hold), node_(std::move(path), {[this](const std::string& bytes) { Bytes(bytes); },
                                           [this] {
                                               Lost();
                                               events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
                                           },
                                           [this] { events_->PowerChanged(OPOS_PS_ONLINE); }}) {}

void NodeBackend::Start(BackendEvents& events) {
    events_ = &events;
    if (!node_.Open())
        events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
}

// Keystrokes of a device held here reach no other window.
HealthReport NodeBackend::Prepare() {
    if (!hold_)
        return {};
    if (const int error = node_.Hold(true))
        return {error == EBUSY ? OPOS_E_CLAIMED : OPOS_E_FAILURE,
                u"un autre programme tient le périphérique : " + com::Utf8ToUtf16(std::strerror(error))};
    return {};
}

void NodeBackend::Disable() {
    if (hold_)
        node_.Hold(false);
}

void NodeBackend::Disconnect() {
    Disable();
}

void NodeBackend::Send(std::uint64_t ticket, const Output&) {
    events_->OutputDone(ticket, OPOS_E_ILLEGAL, 0);
}

HealthReport NodeBackend::CheckHealth(LONG level) {
    return LinkHealth(level, node_.IsOpen(), node_.Problem());
}

LONG NodeBackend::CompareFirmware(std::u16string_view, LONG&) {
    return OPOS_E_ILLEGAL;
}

LONG NodeBackend::UpdateFirmware(std::u16string_view) {
    return OPOS_E_ILLEGAL;
}

} // namespace zorv::opos::real
