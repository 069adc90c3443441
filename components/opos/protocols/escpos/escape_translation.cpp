#include "protocols/escpos/escape_translation.h"

#include <algorithm>

namespace zorv::opos::escpos {
namespace {

using print::Token;
using print::TokenKind;

struct Style {
    bool bold = false;
    int underline = 0;
    bool reverse = false;
    int width = 1;
    int height = 1;
    Justification justification = Justification::Left;

    bool operator==(const Style&) const = default;
};

// OPOS alignment and HRI constants inside ESC|#R.
constexpr int kBarcodeCenter = -2;
constexpr int kBarcodeRight = -3;
constexpr int kTextNone = -11;
constexpr int kTextAbove = -12;

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

class Translator {
public:
    explicit Translator(const TranslationSettings& settings) : settings_(settings) {}

    Translation Run(const std::vector<Token>& tokens) {
        for (const Token& token : tokens) {
            One(token);
            if (!result_.ok()) {
                result_.bytes.clear();
                return std::move(result_);
            }
        }
        Restyle(Style{});
        return std::move(result_);
    }

private:
    void One(const Token& token) {
        switch (token.kind) {
        case TokenKind::Text:
            return Text(token.text);
        case TokenKind::Normal:
            return Restyle(Style{});
        case TokenKind::Bold:
            return Change([&](Style& s) { s.bold = !token.off; });
        case TokenKind::Underline:
            return Change([&](Style& s) { s.underline = token.off ? 0 : std::clamp(token.number, 1, 2); });
        case TokenKind::Reverse:
            return Change([&](Style& s) { s.reverse = !token.off; });
        case TokenKind::Size:
            return Size(token.number);
        case TokenKind::ScaleHorizontal:
            return Change([&](Style& s) { s.width = std::clamp(token.number, 1, 8); });
        case TokenKind::ScaleVertical:
            return Change([&](Style& s) { s.height = std::clamp(token.number, 1, 8); });
        case TokenKind::AlignLeft:
            return Align(Justification::Left);
        case TokenKind::AlignCenter:
            return Align(Justification::Center);
        case TokenKind::AlignRight:
            return Align(Justification::Right);
        case TokenKind::Cut:
            return CutPaper(token.number, 0);
        case TokenKind::FeedCut:
        case TokenKind::FeedCutStamp:
            return CutPaper(token.number, settings_.linesToCut);
        case TokenKind::FeedLines:
            return Feed(FeedLines(token.number), token.number);
        case TokenKind::FeedUnits:
            return Feed(FeedDots(token.number), 0);
        case TokenKind::FeedReverse:
            return Feed(FeedBackLines(token.number), 0);
        case TokenKind::Bitmap:
            return Stored(settings_.bitmap ? settings_.bitmap(token.number) : nullptr);
        case TokenKind::TopLogo:
            return Stored(settings_.logo ? settings_.logo(true) : nullptr);
        case TokenKind::BottomLogo:
            return Stored(settings_.logo ? settings_.logo(false) : nullptr);
        case TokenKind::Embedded:
            return Embedded(token.text);
        case TokenKind::Barcode:
            return Barcode(*token.barcode);
        default:
            ++result_.ignoredSequences; // italic, colour, shading...: nothing on a thermal printer
        }
    }

    void Text(std::u16string_view text) {
        result_.missingCharacters += EncodeInto(text, settings_.codePage, result_.bytes);
        result_.lineFeeds += static_cast<int>(std::count(text.begin(), text.end(), u'\n'));
    }

    template <typename F> void Change(F change) {
        Style next = style_;
        change(next);
        Restyle(next);
    }

    void Size(int number) {
        Change([&](Style& s) {
            s.width = number == 2 || number == 4 ? 2 : 1;
            s.height = number == 3 || number == 4 ? 2 : 1;
        });
    }

    void Align(Justification justification) {
        Change([&](Style& s) { s.justification = justification; });
    }

    // Only what changed goes out.
    void Restyle(const Style& next) {
        Bytes& out = result_.bytes;
        if (next.bold != style_.bold)
            out += Emphasis(next.bold);
        if (next.underline != style_.underline)
            out += Underline(next.underline);
        if (next.reverse != style_.reverse)
            out += ReverseVideo(next.reverse);
        if (next.width != style_.width || next.height != style_.height)
            out += CharacterSize(next.width, next.height);
        if (next.justification != style_.justification)
            out += Justify(next.justification);
        style_ = next;
    }

    // A percentage below 100 is a partial cut; 0 cuts nothing.
    void CutPaper(int percentage, int feedLines) {
        if (feedLines > 0)
            Feed(FeedLines(feedLines), feedLines);
        if (percentage <= 0)
            return;
        result_.bytes += Cut(percentage >= 100 ? CutKind::Full : CutKind::Partial);
        ++result_.cuts;
    }

    void Feed(const Bytes& bytes, int lines) {
        result_.bytes += bytes;
        result_.lineFeeds += lines;
    }

    // A stored picture may bring its own alignment; the text's comes back after it.
    void Stored(const Bytes* bytes) {
        if (bytes == nullptr)
            ++result_.ignoredSequences;
        else
            result_.bytes += *bytes + Justify(style_.justification);
    }

    void Embedded(std::u16string_view data) {
        for (const char16_t c : data)
            result_.bytes.push_back(static_cast<char>(c & 0xFF));
    }

    void Barcode(const print::BarcodeRequest& request) {
        const auto symbology = FromOposSymbology(request.symbology);
        if (!symbology) {
            result_.error = "bar code symbology " + std::to_string(request.symbology) + " is not supported";
            return;
        }
        BarcodeOptions options = settings_.barcode;
        if (request.height > 0)
            options.height = request.height;
        if (request.textPosition == kTextNone)
            options.hri = HriPosition::None;
        else if (request.textPosition == kTextAbove)
            options.hri = HriPosition::Above;
        const EncodedBarcode encoded =
            EncodeBarcode(*symbology, BarcodeBytes(request.data, *symbology), options);
        if (!encoded.ok()) {
            result_.error = encoded.error;
            return;
        }
        const Justification where = request.alignment == kBarcodeCenter  ? Justification::Center
                                    : request.alignment == kBarcodeRight ? Justification::Right
                                                                         : Justification::Left;
        result_.bytes += Justify(where) + encoded.bytes + Justify(style_.justification);
    }

    const TranslationSettings& settings_;
    Style style_;
    Translation result_;
};

} // namespace

std::string BarcodeBytes(std::u16string_view data, Symbology symbology) {
    const bool twoDimensional = symbology == Symbology::Qr || symbology == Symbology::Pdf417;
    std::string out;
    for (const char16_t c : data) {
        if (c < 0x80 || !twoDimensional)
            out.push_back(static_cast<char>(c < 0x80 ? c : 0xFF));
        else
            AppendUtf8(c, out);
    }
    return out;
}

Translation Translate(const std::vector<Token>& tokens, const TranslationSettings& settings) {
    return Translator(settings).Run(tokens);
}

Translation TranslatePrintData(std::u16string_view data, const TranslationSettings& settings) {
    return Translate(print::ParseEscapes(data), settings);
}

} // namespace zorv::opos::escpos
