#pragma once
// What a printer sends back, split into its reports. Real-time answers are
// one byte, automatic status back four, and the two are told apart by their
// fixed bits; a byte that fits neither, or an automatic report broken off
// by a byte that cannot continue it, is noise and reported as such rather
// than read as a sensor change.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/status.h"

namespace zorv::opos::escpos {

struct StatusReport {
    enum class Kind { RealTime, Automatic, Noise };
    Kind kind = Kind::Noise;
    uint8_t byte = 0;     // RealTime: the answer, to decode with the query it answers
    PrinterStatus status; // Automatic
    std::string bytes;    // Noise: what was dropped
    std::string error;    // Noise: why
};

class StatusStream {
public:
    std::vector<StatusReport> Feed(std::string_view bytes);
    // Bytes of an automatic report still waiting for the rest.
    size_t Pending() const { return partial_.size(); }
    void Reset() { partial_.clear(); }

private:
    void Byte(uint8_t byte, std::vector<StatusReport>& out);
    std::string partial_;
};

} // namespace zorv::opos::escpos
