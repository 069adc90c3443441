#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/decoder.h"

namespace escpos_test {

// "1B 40" for the bytes 0x1B 0x40: failures then show readable bytes.
inline std::string Hex(std::string_view bytes) {
    constexpr const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        if (!out.empty())
            out.push_back(' ');
        out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(digits[static_cast<unsigned char>(c) & 0xF]);
    }
    return out;
}

// The bytes written as "1B 40": test data with NULs stays readable.
inline std::string FromHex(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 3)
        out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return out;
}

// The transcript lines a printer would show for these bytes.
inline std::vector<std::string> Transcript(std::string_view bytes) {
    zorv::opos::escpos::Decoder decoder;
    std::vector<std::string> lines;
    for (const auto& command : decoder.Feed(bytes))
        lines.push_back(zorv::opos::escpos::Describe(command));
    return lines;
}

} // namespace escpos_test
