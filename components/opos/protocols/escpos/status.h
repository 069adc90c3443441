#pragma once
// The printer's answers: the one byte of a real-time status query (DLE EOT n)
// and the four bytes of automatic status back (GS a). Both carry fixed bits;
// a byte whose fixed bits are wrong is not a status and is reported as such,
// so line noise is never read as "cover open".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocols/escpos/commands.h"

namespace zorv::opos::escpos {

// What the printer told us; a query answers part of it, the rest stays unset.
struct PrinterStatus {
    std::optional<bool> drawerPinHigh; // drawer kick connector pin 3
    std::optional<bool> offline;
    std::optional<bool> coverOpen;
    std::optional<bool> feedButton;
    std::optional<bool> paperEndStop; // printing stopped at paper end
    std::optional<bool> errorOccurred;
    std::optional<bool> waitingRecovery;
    std::optional<bool> mechanicalError;
    std::optional<bool> cutterError;
    std::optional<bool> unrecoverableError;
    std::optional<bool> autoRecoverableError;
    std::optional<bool> paperNearEnd;
    std::optional<bool> paperEmpty;

    bool operator==(const PrinterStatus&) const = default;
    // Every field the other status knows overrides ours.
    void Merge(const PrinterStatus& other);
};

struct DecodedStatus {
    PrinterStatus status;
    std::string error; // empty when the bytes are a status
    bool ok() const { return error.empty(); }
};

DecodedStatus DecodeRealTimeStatus(StatusQuery query, uint8_t byte);
// The four bytes of one automatic status back report.
DecodedStatus DecodeAutomaticStatus(std::string_view bytes);

// A real-time status byte has bits 1 and 4 set and 0 and 7 clear; the first
// byte of automatic status back has bit 4 set and 0, 1, 7 clear. Bytes that
// are neither belong to neither.
bool LooksLikeRealTimeStatus(uint8_t byte);
bool StartsAutomaticStatus(uint8_t byte);

// The byte a printer in this state answers to a query, and its four-byte
// automatic report (for the virtual printer and for tests). Unset fields read as false.
uint8_t EncodeRealTimeStatus(StatusQuery query, const PrinterStatus& status);
Bytes EncodeAutomaticStatus(const PrinterStatus& status);

} // namespace zorv::opos::escpos
