#include "backends/serial/serial_scanner.h"

#include <algorithm>

#include "model/opos_codes.h"
#include "platform/com/text.h"
#include "protocols/scan/symbology.h"

namespace zorv::opos::real {
namespace {

constexpr std::u16string_view kLevelNames[] = {u"Internal", u"External", u"Interactive"};

} // namespace

std::u16string Widen(std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char byte : bytes)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    return wide;
}

HealthReport LinkHealth(LONG level, const WatchedLink& link) {
    return LinkHealth(level, link.IsOpen(), link.Problem());
}

HealthReport LinkHealth(LONG level, bool open, const std::string& problem) {
    const std::u16string name(kLevelNames[std::clamp<LONG>(level, 1, 3) - 1]);
    if (!open)
        return {OPOS_E_FAILURE, name + u" HCheck: Failed, " + com::Utf8ToUtf16(problem)};
    return {OPOS_SUCCESS, name + u" HCheck: Successful"};
}

// A label cut short by the line going away is dropped with the framer's state.
SerialScanner::SerialScanner(SerialScannerConfig config)
    : config_(std::move(config)), framer_(config_.framing),
      link_(config_.connection, {[this](const std::string& bytes) { Bytes(bytes); },
                                 [this] {
                                     framer_.Reset();
                                     events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
                                 },
                                 [this] { events_->PowerChanged(OPOS_PS_ONLINE); },
                                 [this](std::uint64_t) { Lost(); }}) {}

void SerialScanner::Start(BackendEvents& events) {
    events_ = &events;
    if (!link_.Open())
        events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
}

void SerialScanner::Bytes(const std::string& bytes) {
    for (const scan::Frame& frame : framer_.Feed(bytes))
        Deliver(frame);
}

// Labels were lost in a burst the program could not take in time: the one
// being framed is cut, and the loss is an input error, never silence.
void SerialScanner::Lost() {
    framer_.Reset();
    events_->InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
}

void SerialScanner::Deliver(const scan::Frame& frame) {
    if (frame.fault != scan::FrameFault::None) {
        events_->InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
        return;
    }
    const scan::DecodedLabel decoded = scan::DecodeLabel(frame.label, config_.aimPrefix);
    events_->InputArrived({static_cast<LONG>(decoded.type), 0, {Widen(decoded.label), Widen(frame.label)}});
}

void SerialScanner::Send(std::uint64_t ticket, const Output&) {
    events_->OutputDone(ticket, OPOS_E_ILLEGAL, 0);
}

HealthReport SerialScanner::CheckHealth(LONG level) {
    return LinkHealth(level, link_);
}

LONG SerialScanner::CompareFirmware(std::u16string_view, LONG&) {
    return OPOS_E_ILLEGAL;
}

LONG SerialScanner::UpdateFirmware(std::u16string_view) {
    return OPOS_E_ILLEGAL;
}

} // namespace zorv::opos::real
