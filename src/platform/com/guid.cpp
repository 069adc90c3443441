#include "guid.h"

#include "hresult.h"
#include "text.h"

namespace zorv::com {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at `pos`, advancing it.
bool ReadHex(std::string_view text, std::size_t& pos, int digits, std::uint64_t& value) {
    if (pos + digits > text.size())
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = HexDigit(text[pos++]);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

std::string GuidToString(const GUID& guid) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return buffer;
}

std::optional<GUID> ParseGuid(std::string_view text) {
    const bool braced = !text.empty() && text.front() == '{';
    if (braced && text.back() != '}')
        return std::nullopt;
    if (braced)
        text = text.substr(1, text.size() - 2);
    if (text.size() != 36)
        return std::nullopt;
    GUID guid{};
    std::size_t pos = 0;
    std::uint64_t value = 0;
    if (!ReadHex(text, pos, 8, value))
        return std::nullopt;
    guid.Data1 = static_cast<std::uint32_t>(value);
    if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, value))
        return std::nullopt;
    guid.Data2 = static_cast<std::uint16_t>(value);
    if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, value))
        return std::nullopt;
    guid.Data3 = static_cast<std::uint16_t>(value);
    if (!Expect(text, pos, '-'))
        return std::nullopt;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !Expect(text, pos, '-'))
            return std::nullopt;
        if (!ReadHex(text, pos, 2, value))
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

std::size_t GuidHash::operator()(const GUID& guid) const noexcept {
    std::uint64_t words[2];
    std::memcpy(words, &guid, sizeof words);
    return std::hash<std::uint64_t>{}(words[0] * 0x9E3779B97F4A7C15ull ^ words[1]);
}

} // namespace zorv::com

#ifndef _WIN32
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax) {
    const std::string text = zorv::com::GuidToString(guid);
    const int needed = static_cast<int>(text.size()) + 1;
    if (buffer == nullptr || cchMax < needed)
        return 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        buffer[i] = static_cast<OLECHAR>(text[i]);
    buffer[text.size()] = 0;
    return needed;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
    if (clsid == nullptr)
        return E_INVALIDARG;
    *clsid = CLSID_NULL;
    if (text == nullptr)
        return CO_E_CLASSSTRING;
    const auto guid = zorv::com::ParseGuid(zorv::com::Utf16ToUtf8(text));
    if (!guid)
        return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid) {
    const HRESULT hr = CLSIDFromString(text, iid);
    return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
#endif // _WIN32
