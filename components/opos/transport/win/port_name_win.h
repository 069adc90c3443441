#pragma once
// Serial port names as Windows spells them: COM1 to COM255 in any letter
// case, or the device form \\.\COM10 (which ports above COM9 need) and
// \\.\NAME of other serial drivers.
#include <optional>
#include <string>
#include <string_view>

namespace zorv::opos::transport {

struct PortName {
    std::string device; // what CreateFileW opens: "\\.\COM3"
    std::string dos;    // what QueryDosDeviceW knows: "COM3"
};

// None when the text names no serial port of Windows.
std::optional<PortName> ParsePortName(std::string_view path);
std::wstring WideText(std::string_view utf8);

} // namespace zorv::opos::transport
