#include "protocols/escpos/code_pages.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "protocols/escpos/code_page_tables.h"

namespace zorv::opos::escpos {
namespace {

// The ESC t numbers are those of the common Epson table.
const std::vector<CodePageInfo> kPages{
    {CodePage::Pc437, "PC437", 437, 0},  {CodePage::Pc850, "PC850", 850, 2},
    {CodePage::Pc852, "PC852", 852, 18}, {CodePage::Pc858, "PC858", 858, 19},
    {CodePage::Pc866, "PC866", 866, 17}, {CodePage::Wpc1252, "WPC1252", 1252, 16},
};

const std::array<char16_t, 128>& Upper(CodePage page) {
    switch (page) {
    case CodePage::Pc437:
        return kPc437Upper;
    case CodePage::Pc850:
        return kPc850Upper;
    case CodePage::Pc852:
        return kPc852Upper;
    case CodePage::Pc858:
        return kPc858Upper;
    case CodePage::Pc866:
        return kPc866Upper;
    case CodePage::Wpc1252:
        return kWpc1252Upper;
    }
    return kPc437Upper;
}

// Character to byte for the upper half, built once per page.
struct ReverseTable {
    std::vector<std::pair<char16_t, uint8_t>> sorted;

    explicit ReverseTable(CodePage page) {
        const auto& upper = Upper(page);
        for (size_t i = 0; i < upper.size(); ++i)
            if (upper[i] != 0)
                sorted.emplace_back(upper[i], static_cast<uint8_t>(0x80 + i));
        std::sort(sorted.begin(), sorted.end());
    }

    std::optional<uint8_t> Find(char16_t c) const {
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(c, uint8_t{0}));
        if (it == sorted.end() || it->first != c)
            return std::nullopt;
        return it->second;
    }
};

const ReverseTable& Reverse(CodePage page) {
    static const std::array<ReverseTable, 6> tables{
        ReverseTable(CodePage::Pc437), ReverseTable(CodePage::Pc850), ReverseTable(CodePage::Pc852),
        ReverseTable(CodePage::Pc858), ReverseTable(CodePage::Pc866), ReverseTable(CodePage::Wpc1252),
    };
    return tables[static_cast<size_t>(page)];
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

const std::vector<CodePageInfo>& CodePages() {
    return kPages;
}

const CodePageInfo& Info(CodePage page) {
    for (const CodePageInfo& info : kPages)
        if (info.page == page)
            return info;
    return kPages.front();
}

std::optional<CodePage> FindCodePage(std::string_view nameOrNumber) {
    for (const CodePageInfo& info : kPages)
        if (SameName(nameOrNumber, info.name) || nameOrNumber == std::to_string(info.number))
            return info.page;
    return std::nullopt;
}

std::optional<CodePage> FindCodePage(uint16_t number) {
    for (const CodePageInfo& info : kPages)
        if (info.number == number)
            return info.page;
    return std::nullopt;
}

int EncodeInto(std::u16string_view text, CodePage page, Bytes& out) {
    const ReverseTable& reverse = Reverse(page);
    int missing = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (const auto byte = reverse.Find(c)) {
            out.push_back(static_cast<char>(*byte));
            continue;
        }
        // A character outside the basic plane is one character, printed as one '?'.
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        out.push_back('?');
        ++missing;
    }
    return missing;
}

EncodedText Encode(std::u16string_view text, CodePage page) {
    EncodedText result;
    result.bytes.reserve(text.size());
    result.missing = EncodeInto(text, page, result.bytes);
    return result;
}

std::u16string Decode(std::string_view bytes, CodePage page) {
    const auto& upper = Upper(page);
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<uint8_t>(b);
        if (byte < 0x80)
            text.push_back(byte);
        else
            text.push_back(upper[byte - 0x80] != 0 ? upper[byte - 0x80] : u'\uFFFD');
    }
    return text;
}

} // namespace zorv::opos::escpos
