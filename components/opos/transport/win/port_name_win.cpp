#include "transport/win/port_name_win.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zorv::opos::transport {
namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr int kHighestComPort = 255;

std::string Upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// "COM7": the port's number, without leading zeros.
std::optional<int> ComNumber(std::string_view name) {
    if (name.size() < 4 || Upper(name.substr(0, 3)) != "COM" || name[3] == '0')
        return std::nullopt;
    int number = 0;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + 3, end, number);
    if (error != std::errc() || stop != end || number < 1 || number > kHighestComPort)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<PortName> ParsePortName(std::string_view path) {
    if (const auto number = ComNumber(path)) {
        const std::string dos = "COM" + std::to_string(*number);
        return PortName{std::string(kDevicePrefix) + dos, dos};
    }
    if (path.substr(0, kDevicePrefix.size()) != kDevicePrefix)
        return std::nullopt;
    const std::string_view name = path.substr(kDevicePrefix.size());
    if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos)
        return std::nullopt;
    const std::string dos = ComNumber(name) ? Upper(name) : std::string(name);
    return PortName{std::string(kDevicePrefix) + dos, dos};
}

std::wstring WideText(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace zorv::opos::transport
