#include "protocols/display/code_page.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "protocols/escpos/code_page_tables.h"
#include "protocols/escpos/code_pages.h"

namespace zorv::opos::display {
namespace {

// The printers' tables serve the displays too: one table per code page.
struct PageEntry {
    CodePage page;
    escpos::CodePage table;
};
constexpr PageEntry kPages[] = {
    {CodePage::Pc437, escpos::CodePage::Pc437},
    {CodePage::Pc850, escpos::CodePage::Pc850},
    {CodePage::Pc858, escpos::CodePage::Pc858},
};

const std::array<char16_t, 128>& Upper(escpos::CodePage table) {
    switch (table) {
    case escpos::CodePage::Pc850:
        return escpos::kPc850Upper;
    case escpos::CodePage::Pc858:
        return escpos::kPc858Upper;
    default:
        return escpos::kPc437Upper;
    }
}

const PageEntry& EntryOf(CodePage page) {
    return *std::find_if(std::begin(kPages), std::end(kPages),
                         [page](const PageEntry& e) { return e.page == page; });
}

// Control characters are commands to a display, never text.
std::optional<unsigned char> ByteFor(char16_t c, const std::array<char16_t, 128>& upper) {
    if (c >= 0x20 && c < 0x7F)
        return static_cast<unsigned char>(c);
    const auto found = c == 0 ? upper.end() : std::find(upper.begin(), upper.end(), c);
    if (found == upper.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - upper.begin()));
}

} // namespace

std::optional<CodePage> CodePageFromName(std::string_view name) {
    std::string digits;
    for (char c : name)
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits += c;
        else if (!digits.empty() || !std::isalpha(static_cast<unsigned char>(c)))
            return std::nullopt;
    for (const PageEntry& entry : kPages)
        if (digits == std::to_string(escpos::Info(entry.table).number))
            return entry.page;
    return std::nullopt;
}

long CodePageNumber(CodePage page) {
    return escpos::Info(EntryOf(page).table).number;
}

int CodeTableNumber(CodePage page) {
    return escpos::Info(EntryOf(page).table).escT;
}

std::optional<CodePage> CodePageFromTable(int escT) {
    for (const PageEntry& entry : kPages)
        if (escpos::Info(entry.table).escT == escT)
            return entry.page;
    return std::nullopt;
}

EncodedText EncodeText(std::u16string_view text, CodePage page) {
    const std::array<char16_t, 128>& upper = Upper(EntryOf(page).table);
    EncodedText out;
    out.bytes.reserve(text.size());
    for (char16_t c : text) {
        const std::optional<unsigned char> byte = ByteFor(c, upper);
        out.bytes.push_back(byte ? static_cast<char>(*byte) : '?');
        out.unmappable += byte ? 0 : 1;
    }
    return out;
}

char16_t DecodeByte(unsigned char byte, CodePage page) {
    if (byte >= 0x20 && byte < 0x7F)
        return byte;
    if (byte >= 0x80) {
        const char16_t c = Upper(EntryOf(page).table)[byte - 0x80];
        return c != 0 ? c : u'\uFFFD';
    }
    return u'\uFFFD';
}

} // namespace zorv::opos::display
