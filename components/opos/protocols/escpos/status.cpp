#include "protocols/escpos/status.h"

#include <array>

namespace zorv::opos::escpos {
namespace {

using Field = std::optional<bool> PrinterStatus::*;

// One status bit: where it sits and what it means. Paper sensors use two
// bits that a printer always sets together.
struct Bit {
    uint8_t mask;
    Field field;
};

constexpr uint8_t kRealTimeFixedMask = 0x93;
constexpr uint8_t kRealTimeFixed = 0x12;
constexpr uint8_t kAsbFirstFixedMask = 0x93;
constexpr uint8_t kAsbFirstFixed = 0x10;
constexpr uint8_t kAsbOtherFixedMask = 0x90;

constexpr std::array kPrinterBits{
    Bit{0x04, &PrinterStatus::drawerPinHigh}, Bit{0x08, &PrinterStatus::offline},
    Bit{0x20, &PrinterStatus::waitingRecovery}, Bit{0x40, &PrinterStatus::feedButton}};
constexpr std::array kOfflineBits{Bit{0x04, &PrinterStatus::coverOpen}, Bit{0x08, &PrinterStatus::feedButton},
                                  Bit{0x20, &PrinterStatus::paperEndStop},
                                  Bit{0x40, &PrinterStatus::errorOccurred}};
constexpr std::array kErrorBits{
    Bit{0x04, &PrinterStatus::mechanicalError}, Bit{0x08, &PrinterStatus::cutterError},
    Bit{0x20, &PrinterStatus::unrecoverableError}, Bit{0x40, &PrinterStatus::autoRecoverableError}};
constexpr std::array kPaperBits{Bit{0x0C, &PrinterStatus::paperNearEnd},
                                Bit{0x60, &PrinterStatus::paperEmpty}};

constexpr std::array kAsbFirst{Bit{0x04, &PrinterStatus::drawerPinHigh}, Bit{0x08, &PrinterStatus::offline},
                               Bit{0x20, &PrinterStatus::coverOpen}, Bit{0x40, &PrinterStatus::feedButton}};
constexpr std::array kAsbSecond{
    Bit{0x01, &PrinterStatus::waitingRecovery}, Bit{0x04, &PrinterStatus::mechanicalError},
    Bit{0x08, &PrinterStatus::cutterError}, Bit{0x20, &PrinterStatus::unrecoverableError},
    Bit{0x40, &PrinterStatus::autoRecoverableError}};
constexpr std::array kAsbThird{Bit{0x03, &PrinterStatus::paperNearEnd},
                               Bit{0x0C, &PrinterStatus::paperEmpty}};

std::string Hex(uint8_t byte) {
    constexpr const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[byte >> 4] + digits[byte & 0xF];
}

// Reads the bits of a table; a two-bit sensor with one bit set is impossible.
template <size_t N>
std::string ReadBits(const std::array<Bit, N>& bits, uint8_t byte, PrinterStatus& status) {
    for (const Bit& bit : bits) {
        const uint8_t value = byte & bit.mask;
        if (value != 0 && value != bit.mask)
            return "status byte " + Hex(byte) + " has a paper sensor half set";
        status.*bit.field = value == bit.mask;
    }
    return {};
}

template <size_t N> uint8_t WriteBits(const std::array<Bit, N>& bits, const PrinterStatus& status) {
    uint8_t byte = 0;
    for (const Bit& bit : bits)
        if ((status.*bit.field).value_or(false))
            byte |= bit.mask;
    return byte;
}

} // namespace

void PrinterStatus::Merge(const PrinterStatus& other) {
    for (Field field :
         {&PrinterStatus::drawerPinHigh, &PrinterStatus::offline, &PrinterStatus::coverOpen,
          &PrinterStatus::feedButton, &PrinterStatus::paperEndStop, &PrinterStatus::errorOccurred,
          &PrinterStatus::waitingRecovery, &PrinterStatus::mechanicalError, &PrinterStatus::cutterError,
          &PrinterStatus::unrecoverableError, &PrinterStatus::autoRecoverableError,
          &PrinterStatus::paperNearEnd, &PrinterStatus::paperEmpty})
        if (other.*field)
            this->*field = other.*field;
}

bool LooksLikeRealTimeStatus(uint8_t byte) {
    return (byte & kRealTimeFixedMask) == kRealTimeFixed;
}
bool StartsAutomaticStatus(uint8_t byte) {
    return (byte & kAsbFirstFixedMask) == kAsbFirstFixed;
}

DecodedStatus DecodeRealTimeStatus(StatusQuery query, uint8_t byte) {
    DecodedStatus result;
    if (!LooksLikeRealTimeStatus(byte)) {
        result.error = "byte " + Hex(byte) + " is not a real-time status (fixed bits wrong)";
        return result;
    }
    switch (query) {
    case StatusQuery::Printer:
        result.error = ReadBits(kPrinterBits, byte, result.status);
        break;
    case StatusQuery::OfflineCause:
        result.error = ReadBits(kOfflineBits, byte, result.status);
        break;
    case StatusQuery::ErrorCause:
        result.error = ReadBits(kErrorBits, byte, result.status);
        break;
    case StatusQuery::PaperSensor:
        result.error = ReadBits(kPaperBits, byte, result.status);
        break;
    }
    if (!result.ok())
        result.status = {};
    return result;
}

DecodedStatus DecodeAutomaticStatus(std::string_view bytes) {
    DecodedStatus result;
    if (bytes.size() != 4) {
        result.error = "automatic status back has 4 bytes, got " + std::to_string(bytes.size());
        return result;
    }
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    if (!StartsAutomaticStatus(byte(0)))
        result.error = "byte " + Hex(byte(0)) + " does not start an automatic status";
    for (size_t i = 1; i < 4 && result.ok(); ++i)
        if ((byte(i) & kAsbOtherFixedMask) != 0)
            result.error = "automatic status byte " + std::to_string(i + 1) + " (" + Hex(byte(i)) +
                           ") has fixed bits set";
    if (result.ok())
        result.error = ReadBits(kAsbFirst, byte(0), result.status);
    if (result.ok())
        result.error = ReadBits(kAsbSecond, byte(1), result.status);
    if (result.ok())
        result.error = ReadBits(kAsbThird, byte(2), result.status);
    if (!result.ok())
        result.status = {};
    return result;
}

uint8_t EncodeRealTimeStatus(StatusQuery query, const PrinterStatus& status) {
    switch (query) {
    case StatusQuery::Printer:
        return kRealTimeFixed | WriteBits(kPrinterBits, status);
    case StatusQuery::OfflineCause:
        return kRealTimeFixed | WriteBits(kOfflineBits, status);
    case StatusQuery::ErrorCause:
        return kRealTimeFixed | WriteBits(kErrorBits, status);
    case StatusQuery::PaperSensor:
        return kRealTimeFixed | WriteBits(kPaperBits, status);
    }
    return kRealTimeFixed;
}

Bytes EncodeAutomaticStatus(const PrinterStatus& status) {
    return Bytes{static_cast<char>(kAsbFirstFixed | WriteBits(kAsbFirst, status)),
                 static_cast<char>(WriteBits(kAsbSecond, status)),
                 static_cast<char>(WriteBits(kAsbThird, status)), 0};
}

} // namespace zorv::opos::escpos
