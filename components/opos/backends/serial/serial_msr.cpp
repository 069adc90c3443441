#include "backends/serial/serial_msr.h"

#include "model/opos_codes.h"
#include "backends/serial/serial_scanner.h"

namespace zorv::opos::real {
namespace {

// Three tracks of at most 79, 40 and 107 characters, with room for noise.
constexpr std::size_t kLongestLine = 1024;

} // namespace

SerialMsr::SerialMsr(transport::Connection connection)
    : swipes_([this](Input swipe) { events_->InputArrived(std::move(swipe)); }),
      link_(std::move(connection), {[this](const std::string& bytes) { Bytes(bytes); },
                                    [this] {
                                        line_.clear();
                                        swipes_.Reset();
                                        events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
                                    },
                                    [this] { events_->PowerChanged(OPOS_PS_ONLINE); },
                                    // A swipe cut by lost bytes cannot be read: one input error.
                                    [this](std::uint64_t) {
                                        line_.clear();
                                        swipes_.Reset();
                                        events_->InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
                                    }}) {}

void SerialMsr::Start(BackendEvents& events) {
    events_ = &events;
    if (!link_.Open())
        events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
}

// A line that never ends is noise: it is dropped with one input error.
void SerialMsr::Bytes(const std::string& bytes) {
    for (char byte : bytes) {
        if (byte != '\r' && byte != '\n') {
            if (line_.size() == kLongestLine)
                events_->InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
            if (line_.size() <= kLongestLine)
                line_ += byte;
            continue;
        }
        if (!line_.empty() && line_.size() <= kLongestLine)
            swipes_.Line(line_);
        line_.clear();
    }
}

void SerialMsr::Send(std::uint64_t ticket, const Output&) {
    events_->OutputDone(ticket, OPOS_E_ILLEGAL, 0);
}

HealthReport SerialMsr::CheckHealth(LONG level) {
    return LinkHealth(level, link_);
}

LONG SerialMsr::CompareFirmware(std::u16string_view, LONG&) {
    return OPOS_E_ILLEGAL;
}

LONG SerialMsr::UpdateFirmware(std::u16string_view) {
    return OPOS_E_ILLEGAL;
}

} // namespace zorv::opos::real
