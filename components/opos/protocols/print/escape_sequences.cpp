#include "escape_sequences.h"

#include <array>

namespace zorv::opos::print {
namespace {

enum class Number { None, Optional, Required };

struct Rule {
    std::u16string_view letters; // the lower-case letters and the closing upper-case one
    TokenKind kind;
    Number number = Number::None;
    int32_t fallback = 0;
    bool canTurnOff = false;
    int32_t least = 0;
    int32_t most = 999999999;
};

constexpr std::array kRules{
    Rule{u"N", TokenKind::Normal},
    Rule{u"bC", TokenKind::Bold, Number::None, 0, true},
    Rule{u"uC", TokenKind::Underline, Number::Optional, 1, true},
    Rule{u"iC", TokenKind::Italic, Number::None, 0, true},
    Rule{u"rvC", TokenKind::Reverse, Number::None, 0, true},
    Rule{u"rC", TokenKind::AlternateColor, Number::Optional, 0, true},
    Rule{u"sC", TokenKind::Shading, Number::Optional, 0, true, 0, 100},
    Rule{u"stC", TokenKind::Strikethrough, Number::Optional, 0, true},
    Rule{u"tpC", TokenKind::Superscript, Number::None, 0, true},
    Rule{u"tbC", TokenKind::Subscript, Number::None, 0, true},
    Rule{u"C", TokenKind::Size, Number::Required, 1, false, 1, 4},
    Rule{u"hC", TokenKind::ScaleHorizontal, Number::Required, 1, false, 1},
    Rule{u"vC", TokenKind::ScaleVertical, Number::Required, 1, false, 1},
    Rule{u"fT", TokenKind::Typeface, Number::Optional, 0},
    Rule{u"lA", TokenKind::AlignLeft},
    Rule{u"cA", TokenKind::AlignCenter},
    Rule{u"rA", TokenKind::AlignRight},
    Rule{u"P", TokenKind::Cut, Number::Optional, 100, false, 0, 100},
    Rule{u"fP", TokenKind::FeedCut, Number::Optional, 100, false, 0, 100},
    Rule{u"sP", TokenKind::FeedCutStamp, Number::Optional, 100, false, 0, 100},
    Rule{u"sL", TokenKind::FireStamp},
    Rule{u"tL", TokenKind::TopLogo},
    Rule{u"bL", TokenKind::BottomLogo},
    Rule{u"lF", TokenKind::FeedLines, Number::Optional, 1},
    Rule{u"uF", TokenKind::FeedUnits, Number::Optional, 1},
    Rule{u"rF", TokenKind::FeedReverse, Number::Optional, 1},
    Rule{u"B", TokenKind::Bitmap, Number::Required, 1, false, 1},
    Rule{u"E", TokenKind::Embedded, Number::Required},
    Rule{u"R", TokenKind::Barcode, Number::Optional},
};

constexpr std::array<const char*, static_cast<size_t>(TokenKind::Unknown) + 1> kNames{
    "Text",
    "Normal",
    "Bold",
    "Underline",
    "Italic",
    "Reverse",
    "AlternateColor",
    "Shading",
    "Strikethrough",
    "Superscript",
    "Subscript",
    "Size",
    "ScaleHorizontal",
    "ScaleVertical",
    "Typeface",
    "AlignLeft",
    "AlignCenter",
    "AlignRight",
    "Cut",
    "FeedCut",
    "FeedCutStamp",
    "FireStamp",
    "TopLogo",
    "BottomLogo",
    "FeedLines",
    "FeedUnits",
    "FeedReverse",
    "Bitmap",
    "Embedded",
    "Barcode",
    "Unknown",
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsLower(char16_t c) {
    return c >= u'a' && c <= u'z';
}
bool IsUpper(char16_t c) {
    return c >= u'A' && c <= u'Z';
}

// What sits between ESC| and the end of the sequence, before the table is asked.
struct Header {
    bool off = false;
    bool hasNumber = false;
    int32_t number = 0;
    std::u16string_view letters;
    size_t end = 0;  // one past the closing upper-case letter; 0 when malformed
    size_t stop = 0; // where a malformed header stopped
};

constexpr size_t kMostDigits = 9;

Header ReadHeader(std::u16string_view data, size_t at) {
    Header header;
    size_t i = at + 2;
    if (i < data.size() && data[i] == u'!') {
        header.off = true;
        ++i;
    }
    const size_t digits = i;
    while (i < data.size() && IsDigit(data[i]) && i - digits < kMostDigits)
        header.number = header.number * 10 + (data[i++] - u'0');
    header.hasNumber = i > digits;
    const size_t letters = i;
    while (i < data.size() && IsLower(data[i]))
        ++i;
    if (i < data.size() && IsUpper(data[i])) {
        header.letters = data.substr(letters, i + 1 - letters);
        header.end = i + 1;
    }
    header.stop = i;
    return header;
}

const Rule* FindRule(std::u16string_view letters) {
    for (const Rule& rule : kRules)
        if (rule.letters == letters)
            return &rule;
    return nullptr;
}

bool Fits(const Rule& rule, const Header& header) {
    if (header.off && !rule.canTurnOff)
        return false;
    if (header.off && header.hasNumber)
        return false;
    if (rule.number == Number::None && header.hasNumber)
        return false;
    if (rule.number == Number::Required && !header.hasNumber)
        return false;
    return !header.hasNumber || (header.number >= rule.least && header.number <= rule.most);
}

// "s<n>h<n>w<n>a<n>t<n>d<data>e": numbers may be negative (alignment and text
// position use the standard's negative constants).
std::optional<BarcodeRequest> ReadBarcode(std::u16string_view block) {
    BarcodeRequest request;
    size_t i = 0;
    while (i < block.size() && block[i] != u'd') {
        const char16_t field = block[i++];
        const bool negative = i < block.size() && block[i] == u'-';
        if (negative)
            ++i;
        const size_t digits = i;
        int32_t value = 0;
        while (i < block.size() && IsDigit(block[i]) && i - digits < kMostDigits)
            value = value * 10 + (block[i++] - u'0');
        if (i == digits)
            return std::nullopt;
        value = negative ? -value : value;
        switch (field) {
        case u's':
            request.symbology = value;
            break;
        case u'h':
            request.height = value;
            break;
        case u'w':
            request.width = value;
            break;
        case u'a':
            request.alignment = value;
            break;
        case u't':
            request.textPosition = value;
            break;
        default:
            return std::nullopt;
        }
    }
    if (i >= block.size() || block.back() != u'e' || block.size() - i < 2 || request.symbology == 0)
        return std::nullopt;
    request.data = std::u16string(block.substr(i + 1, block.size() - i - 2));
    return request;
}

// Without a length, the definition runs to the first 'e' after its 'd'.
size_t BarcodeBlockLength(std::u16string_view rest, const Header& header) {
    if (header.hasNumber)
        return header.number <= static_cast<int32_t>(rest.size()) ? header.number : std::u16string_view::npos;
    const size_t d = rest.find(u'd');
    if (d == std::u16string_view::npos)
        return d;
    const size_t e = rest.find(u'e', d + 1);
    return e == std::u16string_view::npos ? e : e + 1;
}

class Parser {
public:
    explicit Parser(std::u16string_view data) : data_(data) {}

    std::vector<Token> Run() {
        while (at_ < data_.size()) {
            if (data_[at_] == kEsc && at_ + 1 < data_.size() && data_[at_ + 1] == u'|')
                Sequence();
            else
                AddText(data_[at_++]);
        }
        return std::move(tokens_);
    }

private:
    void AddText(char16_t c) {
        if (tokens_.empty() || tokens_.back().kind != TokenKind::Text)
            tokens_.push_back(Token{});
        tokens_.back().text.push_back(c);
    }

    void AddUnknown(size_t end) {
        Token token;
        token.kind = TokenKind::Unknown;
        token.text = std::u16string(data_.substr(at_, end - at_));
        tokens_.push_back(std::move(token));
        at_ = end;
    }

    void Sequence() {
        const Header header = ReadHeader(data_, at_);
        if (header.end == 0)
            return AddUnknown(header.stop);
        const Rule* rule = FindRule(header.letters);
        if (rule == nullptr || !Fits(*rule, header))
            return AddUnknown(header.end);
        Token token;
        token.kind = rule->kind;
        token.number = header.hasNumber ? header.number : rule->fallback;
        token.hasNumber = header.hasNumber;
        token.off = header.off;
        if (rule->kind == TokenKind::Embedded)
            return Embedded(std::move(token), header);
        if (rule->kind == TokenKind::Barcode)
            return Barcode(std::move(token), header);
        tokens_.push_back(std::move(token));
        at_ = header.end;
    }

    // Pass-through data shorter than announced is kept as it is: it is the
    // caller's, and the end of the print data is the end of the block anyway.
    void Embedded(Token token, const Header& header) {
        const std::u16string_view rest = data_.substr(header.end);
        token.text = std::u16string(rest.substr(0, static_cast<size_t>(header.number)));
        at_ = header.end + token.text.size();
        tokens_.push_back(std::move(token));
    }

    void Barcode(Token token, const Header& header) {
        const std::u16string_view rest = data_.substr(header.end);
        const size_t length = BarcodeBlockLength(rest, header);
        if (length == std::u16string_view::npos)
            return AddUnknown(data_.size());
        token.barcode = ReadBarcode(rest.substr(0, length));
        if (!token.barcode)
            return AddUnknown(header.end + length);
        at_ = header.end + length;
        tokens_.push_back(std::move(token));
    }

    std::u16string_view data_;
    size_t at_ = 0;
    std::vector<Token> tokens_;
};

} // namespace

std::vector<Token> ParseEscapes(std::u16string_view data) {
    return Parser(data).Run();
}

const char* TokenKindName(TokenKind kind) {
    return kNames[static_cast<size_t>(kind)];
}

} // namespace zorv::opos::print
