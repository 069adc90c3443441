#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

std::u16string_view View(BSTR b) {
    return {b ? b : u"", SysStringLen(b)};
}

std::uint32_t PrefixOf(BSTR b) {
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(b) - sizeof(prefix), sizeof(prefix));
    return prefix;
}

TEST(Bstr, AllocationKeepsLengthPrefixAndTerminator) {
    static constexpr OLECHAR kWithNuls[] = {u'a', 0, u'b', 0, 0};
    struct Case {
        const char* name;
        BSTR bstr;
        std::u16string_view expected;
    } cases[] = {
        {"plain", SysAllocString(u"hello"), u"hello"},
        {"empty", SysAllocString(u""), u""},
        {"embedded NULs", SysAllocStringLen(kWithNuls, 4), std::u16string_view(kWithNuls, 4)},
        {"prefix of text", SysAllocStringLen(u"abcdef", 3), u"abc"},
        {"no source is zeroed", SysAllocStringLen(nullptr, 3), std::u16string_view(u"\0\0\0", 3)},
        {"bytes", SysAllocStringByteLen("\x41\x00\x42\x00", 4), u"AB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.bstr, nullptr);
        EXPECT_EQ(View(c.bstr), c.expected);
        EXPECT_EQ(SysStringByteLen(c.bstr), c.expected.size() * sizeof(OLECHAR));
        EXPECT_EQ(PrefixOf(c.bstr), c.expected.size() * sizeof(OLECHAR));
        EXPECT_EQ(c.bstr[c.expected.size()], 0);
        SysFreeString(c.bstr);
    }
}

TEST(Bstr, OddByteLengthIsKeptAndTerminated) {
    BSTR b = SysAllocStringByteLen("abc", 3);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SysStringByteLen(b), 3u);
    EXPECT_EQ(SysStringLen(b), 1u);
    const char* bytes = reinterpret_cast<const char*>(b);
    EXPECT_EQ(std::string_view(bytes, 3), "abc");
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0);
    SysFreeString(b);

    BSTR zeroed = SysAllocStringByteLen(nullptr, 5);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(SysStringByteLen(zeroed), 5u);
    EXPECT_EQ(std::memcmp(zeroed, "\0\0\0\0\0\0", 6), 0);
    SysFreeString(zeroed);
}

TEST(Bstr, NullIsTheEmptyText) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST(Bstr, HugeLengthsFailInsteadOfWrapping) {
    EXPECT_EQ(SysAllocStringLen(u"x", UINT32_MAX), nullptr);
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
    EXPECT_EQ(SysAllocStringByteLen(nullptr, UINT32_MAX), nullptr);
    EXPECT_EQ(SysAllocStringByteLen(nullptr, UINT32_MAX - 4), nullptr);
    BSTR b = SysAllocString(u"keep");
    EXPECT_EQ(SysReAllocStringLen(&b, nullptr, UINT32_MAX), FALSE);
    EXPECT_EQ(View(b), u"keep");
    SysFreeString(b);
}

TEST(Bstr, Reallocation) {
    BSTR b = SysAllocString(u"hello world");
    // The new text may come from the old one.
    EXPECT_EQ(SysReAllocString(&b, b + 6), TRUE);
    EXPECT_EQ(View(b), u"world");
    EXPECT_EQ(SysReAllocStringLen(&b, b + 1, 3), TRUE);
    EXPECT_EQ(View(b), u"orl");
    // Without new text the old one is kept as far as it reaches.
    EXPECT_EQ(SysReAllocStringLen(&b, nullptr, 5), TRUE);
    EXPECT_EQ(View(b), std::u16string_view(u"orl\0\0", 5));
    EXPECT_EQ(SysReAllocStringLen(&b, nullptr, 2), TRUE);
    EXPECT_EQ(View(b), u"or");
    EXPECT_EQ(SysReAllocString(&b, nullptr), TRUE);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(SysReAllocString(nullptr, u"x"), FALSE);
    EXPECT_EQ(SysReAllocStringLen(nullptr, u"x", 1), FALSE);
}

} // namespace
