#pragma once
// Scalar types of the component object services, with the platform's names:
// defined here on other systems, taken from the system headers on Windows.
#include <cstdint>

#ifndef _WIN32
using BYTE = std::uint8_t;
using CHAR = char;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using INT = int;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using BOOL = int;
using FLOAT = float;
using DOUBLE = double;

using OLECHAR = char16_t;
using WCHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// Length-prefixed UTF-16 text; a null BSTR is the empty text.
using BSTR = OLECHAR*;

using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

using VARTYPE = USHORT;
using DISPID = LONG;
using MEMBERID = DISPID;
using LCID = DWORD;
using SCODE = LONG;
using HRESULT = LONG;
// Days since 30 December 1899, the fraction being the time of day.
using DATE = double;

// Currency: a 64-bit integer scaled by 10,000.
union CY {
    struct {
        ULONG Lo;
        LONG Hi;
    };
    LONGLONG int64;
};

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define STDMETHODCALLTYPE

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_INVARIANT = 0x007F;

struct SIZEL {
    LONG cx;
    LONG cy;
};
struct POINTL {
    LONG x;
    LONG y;
};
struct POINTF {
    FLOAT x;
    FLOAT y;
};
union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    };
    ULONGLONG QuadPart;
};

// Window-system handles and structures that appear in interface signatures
// but that nothing here looks into.
struct MSG;
struct RECT;
struct LOGPALETTE;
using HWND = void*;
using HACCEL = void*;
using LPMSG = MSG*;
using LPCRECT = const RECT*;
#else
// On Windows the system's own component services serve, through its headers
// (with the system's calling convention and interface layouts).
#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <windows.h>
#endif // _WIN32
