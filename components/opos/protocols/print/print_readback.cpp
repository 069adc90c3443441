#include "protocols/print/print_readback.h"

#include <string>

#include "protocols/print/escape_sequences.h"

namespace zorv::opos {
namespace {

using print::TokenKind;

struct Word {
    TokenKind kind;
    std::u16string_view word;
    // How the sequence's number shows: not at all, or after the word with
    // this unit.
    bool numbered;
    std::u16string_view unit;
};

constexpr Word kWords[] = {
    {TokenKind::Normal, u"normal", false, u""},
    {TokenKind::Bold, u"bold", false, u""},
    {TokenKind::Underline, u"underline", false, u""},
    {TokenKind::Italic, u"italic", false, u""},
    {TokenKind::Reverse, u"reverse", false, u""},
    {TokenKind::AlternateColor, u"colour", true, u""},
    {TokenKind::Shading, u"shading", true, u"%"},
    {TokenKind::Strikethrough, u"strike", false, u""},
    {TokenKind::Superscript, u"superscript", false, u""},
    {TokenKind::Subscript, u"subscript", false, u""},
    {TokenKind::ScaleHorizontal, u"wide", true, u"x"},
    {TokenKind::ScaleVertical, u"high", true, u"x"},
    {TokenKind::Typeface, u"typeface", true, u""},
    {TokenKind::AlignLeft, u"left", false, u""},
    {TokenKind::AlignCenter, u"centre", false, u""},
    {TokenKind::AlignRight, u"right", false, u""},
    {TokenKind::Cut, u"cut", true, u"%"},
    {TokenKind::FeedCut, u"feed and cut", true, u"%"},
    {TokenKind::FeedCutStamp, u"feed, cut and stamp", true, u"%"},
    {TokenKind::FireStamp, u"stamp", false, u""},
    {TokenKind::TopLogo, u"top logo", false, u""},
    {TokenKind::BottomLogo, u"bottom logo", false, u""},
    {TokenKind::FeedLines, u"feed", true, u" lines"},
    {TokenKind::FeedUnits, u"feed", true, u" units"},
    {TokenKind::FeedReverse, u"reverse feed", true, u" lines"},
    {TokenKind::Bitmap, u"bitmap", true, u""},
};

constexpr std::u16string_view kSizes[] = {u"single size", u"double wide", u"double high", u"double size"};

// Digits and a sign are ASCII: widened as they are, so that this layer
// needs no text library.
std::u16string Decimal(int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Shown(std::u16string_view written) {
    std::u16string shown;
    for (char16_t c : written)
        shown += c == print::kEsc ? std::u16string(u"ESC") : std::u16string(1, c);
    return shown;
}

std::u16string Describe(const print::Token& token) {
    for (const Word& word : kWords)
        if (word.kind == token.kind) {
            std::u16string text = (token.off ? u"no " : u"") + std::u16string(word.word);
            if (word.numbered)
                text += u" " + Decimal(token.number) + std::u16string(word.unit);
            return text;
        }
    switch (token.kind) {
    case TokenKind::Size:
        return token.number >= 1 && token.number <= 4 ? std::u16string(kSizes[token.number - 1])
                                                      : u"size " + Decimal(token.number);
    case TokenKind::Barcode:
        return token.barcode ? u"bar code " + Decimal(token.barcode->symbology) + u": " + token.barcode->data
                             : u"bar code";
    case TokenKind::Embedded:
        return u"raw " + Decimal(static_cast<int32_t>(token.text.size())) + u" characters";
    default:
        return u"? " + Shown(token.text);
    }
}

} // namespace

std::u16string RenderPrintData(std::u16string_view data) {
    std::u16string shown;
    for (const print::Token& token : print::ParseEscapes(data))
        shown += token.kind == TokenKind::Text ? token.text : u"[" + Describe(token) + u"]";
    return shown;
}

} // namespace zorv::opos
