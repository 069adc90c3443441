#pragma once
// Byte-to-character tables of the code pages ESC/POS printers carry.
#include <array>

namespace zorv::opos::escpos {

extern const std::array<char16_t, 128> kPc437Upper;
extern const std::array<char16_t, 128> kPc850Upper;
extern const std::array<char16_t, 128> kPc858Upper;
extern const std::array<char16_t, 128> kWpc1252Upper;
extern const std::array<char16_t, 128> kPc866Upper;
extern const std::array<char16_t, 128> kPc852Upper;

} // namespace zorv::opos::escpos
