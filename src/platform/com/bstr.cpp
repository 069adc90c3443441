#include "bstr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The length prefix sits immediately before the first character.
using Prefix = std::uint32_t;

// Largest byte length the prefix can describe once room for the prefix and a
// full terminating character (plus a pad byte for odd lengths) is added.
constexpr std::uint64_t kMaxBytes = UINT32_MAX - sizeof(Prefix) - sizeof(OLECHAR) - 1;

Prefix* PrefixOf(BSTR bstr) {
    return reinterpret_cast<Prefix*>(reinterpret_cast<char*>(bstr) - sizeof(Prefix));
}

// Allocates room for `bytes` bytes of text; when `source` is given those bytes
// are copied, otherwise they are zeroed. The terminator is always written.
BSTR AllocateBytes(const void* source, std::uint64_t bytes) {
    if (bytes > kMaxBytes)
        return nullptr;
    // An odd byte length still ends with a whole NUL character after the text.
    const std::size_t total = sizeof(Prefix) + static_cast<std::size_t>(bytes) + sizeof(OLECHAR) + 1;
    auto* block = static_cast<char*>(std::malloc(total));
    if (!block)
        return nullptr;
    const Prefix length = static_cast<Prefix>(bytes);
    std::memcpy(block, &length, sizeof(length));
    char* text = block + sizeof(Prefix);
    if (source)
        std::memcpy(text, source, static_cast<std::size_t>(bytes));
    else
        std::memset(text, 0, static_cast<std::size_t>(bytes));
    std::memset(text + bytes, 0, sizeof(OLECHAR) + 1);
    return reinterpret_cast<BSTR>(text);
}

std::size_t Length(const OLECHAR* psz) {
    std::size_t n = 0;
    while (psz[n] != 0)
        ++n;
    return n;
}

} // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz)
        return nullptr;
    return AllocateBytes(psz, static_cast<std::uint64_t>(Length(psz)) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    return AllocateBytes(strIn, static_cast<std::uint64_t>(ui) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* psz, UINT len) {
    return AllocateBytes(psz, len);
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (!pbstr)
        return FALSE;
    // Allocate before freeing: psz may point into the old text.
    BSTR fresh = nullptr;
    if (psz) {
        fresh = SysAllocString(psz);
        if (!fresh)
            return FALSE;
    }
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
    if (!pbstr)
        return FALSE;
    BSTR fresh = AllocateBytes(nullptr, static_cast<std::uint64_t>(len) * sizeof(OLECHAR));
    if (!fresh)
        return FALSE;
    if (psz) {
        std::memcpy(fresh, psz, static_cast<std::size_t>(len) * sizeof(OLECHAR));
    } else if (*pbstr) {
        // Without new text the old one is kept, as far as it reaches.
        const UINT keep = SysStringLen(*pbstr) < len ? SysStringLen(*pbstr) : len;
        std::memcpy(fresh, *pbstr, static_cast<std::size_t>(keep) * sizeof(OLECHAR));
    }
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

void SysFreeString(BSTR bstrString) {
    if (bstrString)
        std::free(PrefixOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) {
    return pbstr ? *PrefixOf(pbstr) / sizeof(OLECHAR) : 0;
}

UINT SysStringByteLen(BSTR bstr) {
    return bstr ? *PrefixOf(bstr) : 0;
}
