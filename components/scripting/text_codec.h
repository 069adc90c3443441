#pragma once
// How text files are read and written: "ASCII" files are Windows-1252, as
// scripts from the classic host expect; "Unicode" files are UTF-16LE with a
// byte-order mark. The system default (tristate -2) goes by the mark: a
// UTF-16LE or UTF-8 mark says which, none means Windows-1252.
#include <string>
#include <string_view>

namespace zorv::scripting {

enum class TextFormat { Ansi, Unicode, Utf8 };

// Tristate values: 0 ASCII, -1 Unicode, -2 system default.
constexpr long kTristateFalse = 0;
constexpr long kTristateTrue = -1;
constexpr long kTristateUseDefault = -2;

// The format of a file's first bytes when opened with `tristate`.
TextFormat FormatFor(long tristate, std::string_view head);
// The text, the byte-order mark left out.
std::u16string Decode(std::string_view bytes, TextFormat format);
// Characters Windows-1252 lacks become "?".
std::string Encode(std::u16string_view text, TextFormat format);
// What a new file of that format starts with.
std::string_view ByteOrderMark(TextFormat format);

} // namespace zorv::scripting
