#pragma once
// The escape sequences that OPOS print data carries, split into text runs and
// tokens. A sequence is ESC '|', an optional '!' (attribute off), an optional
// decimal number, lower-case letters and one upper-case letter that ends it:
// ESC|bC bold, ESC|#uC underline (# dots), ESC|iC italic, ESC|rvC reverse,
// ESC|#rC alternate colour, ESC|#sC shading, ESC|stC strike-through,
// ESC|tpC / ESC|tbC superscript / subscript, ESC|1C..ESC|4C sizes, ESC|#hC /
// ESC|#vC scaling, ESC|#fT typeface, ESC|lA ESC|cA ESC|rA alignment, ESC|N
// normal, ESC|#P / ESC|#fP / ESC|#sP cuts (# percent, full when omitted),
// ESC|sL stamp, ESC|tL / ESC|bL logos, ESC|#lF / ESC|#uF / ESC|#rF feeds (one
// when omitted), ESC|#B stored bitmap #, ESC|#E followed by # characters of
// pass-through data, and ESC|#R followed by a bar code definition of #
// characters "s<symbology>h<height>w<width>a<alignment>t<text position>d<data>e"
// (without #, the definition ends at the first 'e' after its data starts).
// A well-formed sequence that is none of these, or a malformed one, becomes an
// Unknown token holding its text as written, so nothing the caller sent is lost.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::opos::print {

constexpr char16_t kEsc = 0x1B;

enum class TokenKind {
    Text,
    Normal,
    Bold,
    Underline,
    Italic,
    Reverse,
    AlternateColor,
    Shading,
    Strikethrough,
    Superscript,
    Subscript,
    Size,
    ScaleHorizontal,
    ScaleVertical,
    Typeface,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Cut,
    FeedCut,
    FeedCutStamp,
    FireStamp,
    TopLogo,
    BottomLogo,
    FeedLines,
    FeedUnits,
    FeedReverse,
    Bitmap,
    Embedded,
    Barcode,
    Unknown,
};

// The fields of ESC|#R; those left out keep 0 (the printer's default).
struct BarcodeRequest {
    int32_t symbology = 0;
    int32_t height = 0;
    int32_t width = 0;
    int32_t alignment = 0;
    int32_t textPosition = 0;
    std::u16string data;

    bool operator==(const BarcodeRequest&) const = default;
};

struct Token {
    TokenKind kind = TokenKind::Text;
    // A text run, the data of ESC|#E, or an unknown sequence as written.
    std::u16string text;
    // The sequence's number, or its default when the sequence has none.
    int32_t number = 0;
    bool hasNumber = false;
    // ESC|!...: the attribute is switched off.
    bool off = false;
    std::optional<BarcodeRequest> barcode;

    bool operator==(const Token&) const = default;
};

std::vector<Token> ParseEscapes(std::u16string_view data);

// The kind's name ("Bold", "FeedLines"), for transcripts and test messages.
const char* TokenKindName(TokenKind kind);

} // namespace zorv::opos::print
