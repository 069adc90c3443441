#pragma once
// 128-bit identifiers of classes and interfaces.
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "types.h"

#ifndef _WIN32
struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool IsEqualIID(REFIID a, REFIID b) {
    return IsEqualGUID(a, b);
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return IsEqualGUID(a, b);
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" into cchMax characters, NUL included;
// answers the characters written, NUL included, or 0 when the buffer is short.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
#endif // _WIN32

namespace zorv::com {

// Upper-case hexadecimal in braces, as the platform writes it.
std::string GuidToString(const GUID& guid);
// Accepts the braced form (braces optional), in any letter case.
std::optional<GUID> ParseGuid(std::string_view text);

struct GuidHash {
    std::size_t operator()(const GUID& guid) const noexcept;
};

} // namespace zorv::com
