#pragma once
// Text from UTF-16 to the single-byte code page the printer is set to, and
// back. A character the page lacks becomes '?' and is counted, so the caller
// can say how many did not print as written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/commands.h"

namespace zorv::opos::escpos {

enum class CodePage { Pc437, Pc850, Pc852, Pc858, Pc866, Wpc1252 };

struct CodePageInfo {
    CodePage page;
    const char* name; // as profiles spell it: "PC858"
    uint16_t number;  // the Windows/IBM number, the value of OPOS CharacterSet
    uint8_t escT;     // the table number ESC t selects
};

const std::vector<CodePageInfo>& CodePages();
const CodePageInfo& Info(CodePage page);
// By name ("PC858", "WPC1252", any letter case) or by number ("858", "1252").
std::optional<CodePage> FindCodePage(std::string_view nameOrNumber);
std::optional<CodePage> FindCodePage(uint16_t number);

struct EncodedText {
    Bytes bytes;
    int missing = 0; // characters the page lacks, each printed as '?'
};

EncodedText Encode(std::u16string_view text, CodePage page);
// Appends to out and returns how many characters were missing.
int EncodeInto(std::u16string_view text, CodePage page, Bytes& out);
// Bytes the page leaves undefined come back as U+FFFD.
std::u16string Decode(std::string_view bytes, CodePage page);

} // namespace zorv::opos::escpos
