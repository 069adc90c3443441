#include "lexer.h"

#include <cmath>
#include <unordered_map>

#include "conversion.h"
#include "platform/com/date_number_rules.h"
#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

constexpr std::size_t kMaxIdentifier = 255;

const std::unordered_map<std::u16string, Tok>& Keywords() {
    static const std::unordered_map<std::u16string, Tok> table = {
#define VBS_KEYWORD_ENTRY(name, text) {u"" text, Tok::Kw##name},
        VBS_KEYWORDS(VBS_KEYWORD_ENTRY)
#undef VBS_KEYWORD_ENTRY
    };
    return table;
}

bool IsIdentStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000);
}
bool IsIdentChar(char16_t c) {
    return IsIdentStart(c) || (c >= u'0' && c <= u'9') || c == u'_';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0 || c == 0x0B || c == 0x0C;
}

class Lexer {
public:
    Lexer(std::u16string_view source, MemoryHold* memory) : src_(source), memory_(memory) {}

    std::vector<Token> Run() {
        std::vector<Token> tokens;
        for (;;) {
            Token token = Next();
            const bool end = token.kind == Tok::End;
            if (!tokens.empty() && tokens.back().kind == Tok::Dot && !token.spaceBefore &&
                IsKeyword(token.kind))
                token.kind = Tok::Identifier;
            const std::size_t oldBlock = memory_ != nullptr ? Charge(tokens, token) : 0;
            tokens.push_back(std::move(token));
            if (oldBlock != 0)
                memory_->Refund(oldBlock);
            if (end) {
                MarkPropertyNames(tokens);
                return tokens;
            }
        }
    }

private:
    // "Property" is a keyword only where it declares, ends or exits a
    // property; anywhere else it is a name like any other.
    static void MarkPropertyNames(std::vector<Token>& tokens) {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind != Tok::KwProperty)
                continue;
            const Token* before = i > 0 ? &tokens[i - 1] : nullptr;
            const Token& after = tokens[i + 1]; // the last token is End, never Property
            const bool declares = after.kind == Tok::KwSet || (after.kind == Tok::Identifier &&
                                                               (com::EqualsIgnoringCase(after.text, u"Get") ||
                                                                com::EqualsIgnoringCase(after.text, u"Let")));
            const bool closes = before && (before->kind == Tok::KwEnd || before->kind == Tok::KwExit);
            if (!declares && !closes)
                tokens[i].kind = Tok::Identifier;
        }
    }

    static bool IsKeyword(Tok kind) { return kind >= Tok::KwAnd; }

    // Charges the token as it joins the vector (pages of the vector's spare
    // capacity are not touched yet). When the vector grows, its elements are
    // held twice until the move is done: that copy is answered, to be
    // refunded after the push.
    std::size_t Charge(const std::vector<Token>& tokens, const Token& token) {
        try {
            std::size_t bytes = sizeof(Token);
            if (token.text.capacity() > Token().text.capacity())
                bytes += HeapFootprint((token.text.capacity() + 1) * sizeof(char16_t));
            memory_->Charge(bytes);
            if (tokens.size() < tokens.capacity())
                return 0;
            memory_->Charge(tokens.size() * sizeof(Token));
            return tokens.size() * sizeof(Token);
        } catch (ScriptError& error) {
            error.pos = token.pos;
            error.positioned = true;
            throw;
        }
    }

    char16_t Peek(std::size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : 0; }
    bool AtEnd() const { return pos_ >= src_.size(); }

    void Advance() {
        if (src_[pos_] == u'\n' || (src_[pos_] == u'\r' && Peek(1) != u'\n')) {
            ++line_;
            lineStart_ = pos_ + 1;
        }
        ++pos_;
    }

    SourcePos Here() const {
        return {static_cast<std::uint32_t>(line_), static_cast<std::uint32_t>(pos_ - lineStart_ + 1)};
    }

    // Blanks, comments and line continuations between tokens.
    bool SkipBlanks() {
        bool skipped = false;
        for (;;) {
            if (!AtEnd() && IsBlank(Peek())) {
                Advance();
                skipped = true;
            } else if (Peek() == u'_' && ContinuationFollows()) {
                Advance();
                while (!AtEnd() && IsBlank(Peek()))
                    Advance();
                if (Peek() == u'\r')
                    Advance();
                if (Peek() == u'\n')
                    Advance();
                skipped = true;
            } else {
                return skipped;
            }
        }
    }

    bool ContinuationFollows() const {
        std::size_t i = pos_ + 1;
        while (i < src_.size() && IsBlank(src_[i]))
            ++i;
        return i >= src_.size() || src_[i] == u'\r' || src_[i] == u'\n';
    }

    void SkipComment() {
        while (!AtEnd() && Peek() != u'\r' && Peek() != u'\n')
            Advance();
    }

    Token Make(Tok kind, SourcePos at, bool space) {
        Token token;
        token.kind = kind;
        token.pos = at;
        token.spaceBefore = space;
        return token;
    }

    Token Invalid(SourcePos at, bool space, int error) {
        Token token = Make(Tok::Invalid, at, space);
        token.error = error;
        return token;
    }

    Token Next() {
        const bool space = SkipBlanks();
        const SourcePos at = Here();
        if (AtEnd())
            return Make(Tok::End, at, space);
        const char16_t c = Peek();
        if (c == u'\'') {
            SkipComment();
            return Next();
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && Peek(1) == u'\n')
                Advance();
            Advance();
            return Make(Tok::Newline, at, space);
        }
        if (IsIdentStart(c))
            return Word(at, space);
        if (IsDigit(c) || (c == u'.' && IsDigit(Peek(1))))
            return Number(at, space);
        if (c == u'"')
            return Text(at, space);
        if (c == u'#')
            return DateLiteral(at, space);
        if (c == u'&' &&
            (Peek(1) == u'h' || Peek(1) == u'H' || Peek(1) == u'o' || Peek(1) == u'O' || IsDigit(Peek(1))))
            return RadixNumber(at, space);
        if (c == u'[')
            return Bracketed(at, space);
        return Punctuation(at, space);
    }

    Token Word(SourcePos at, bool space) {
        const std::size_t start = pos_;
        while (!AtEnd() && IsIdentChar(Peek()))
            Advance();
        std::u16string text(src_.substr(start, pos_ - start));
        if (text.size() > kMaxIdentifier)
            return Invalid(at, space, kErrIdentifierTooLong);
        std::u16string folded = text;
        for (char16_t& ch : folded)
            ch = com::FoldCase(ch);
        if (folded == u"rem" && (AtEnd() || !IsIdentChar(Peek()))) {
            SkipComment();
            return Next();
        }
        const auto keyword = Keywords().find(folded);
        Token token = Make(keyword != Keywords().end() ? keyword->second : Tok::Identifier, at, space);
        token.text = std::move(text);
        return token;
    }

    // [name with spaces]: an identifier written between brackets.
    Token Bracketed(SourcePos at, bool space) {
        Advance();
        const std::size_t start = pos_;
        while (!AtEnd() && Peek() != u']' && Peek() != u'\r' && Peek() != u'\n')
            Advance();
        if (Peek() != u']')
            return Invalid(at, space, kErrExpectedRBracket);
        Token token = Make(Tok::Identifier, at, space);
        token.text = std::u16string(src_.substr(start, pos_ - start));
        Advance();
        return token;
    }

    Token Number(SourcePos at, bool space) {
        const std::size_t start = pos_;
        bool isFloat = false;
        while (IsDigit(Peek()))
            Advance();
        if (Peek() == u'.' && IsDigit(Peek(1))) {
            isFloat = true;
            Advance();
            while (IsDigit(Peek()))
                Advance();
        } else if (Peek() == u'.' && !IsIdentStart(Peek(1))) {
            isFloat = true;
            Advance();
        }
        if ((Peek() == u'e' || Peek() == u'E') &&
            (IsDigit(Peek(1)) || ((Peek(1) == u'+' || Peek(1) == u'-') && IsDigit(Peek(2))))) {
            isFloat = true;
            Advance();
            if (Peek() == u'+' || Peek() == u'-')
                Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if (IsIdentStart(Peek()))
            return Invalid(at, space, kErrExpectedEndOfStatement);
        std::string ascii;
        for (char16_t ch : src_.substr(start, pos_ - start))
            ascii += static_cast<char>(ch);
        const double value = std::strtod(ascii.c_str(), nullptr);
        if (!std::isfinite(value))
            return Invalid(at, space, kErrInvalidNumber);
        Token token = Make(isFloat || value > 2147483647.0 ? Tok::Float : Tok::Integer, at, space);
        token.number = value;
        token.integer = static_cast<std::int64_t>(isFloat || value > 2147483647.0 ? 0 : value);
        return token;
    }

    Token RadixNumber(SourcePos at, bool space) {
        Advance(); // &
        int radix = 8;
        if (Peek() == u'h' || Peek() == u'H') {
            radix = 16;
            Advance();
        } else if (Peek() == u'o' || Peek() == u'O') {
            Advance();
        }
        std::uint64_t value = 0;
        int digits = 0;
        for (;;) {
            const int d = com::DigitValue(Peek());
            if (d >= radix)
                break;
            value = value * radix + d;
            ++digits;
            Advance();
            if (value > 0xFFFFFFFFull)
                return Invalid(at, space, kErrInvalidNumber);
        }
        if (digits == 0)
            return Invalid(at, space, kErrInvalidNumber);
        // With the & suffix the digits are 32 bits; without it, 16 bits when
        // they fit (&HFFFF is -1). The literal then takes the smallest type
        // that holds its value (&HFFFFFFFF& is the Integer -1).
        const bool suffix = Peek() == u'&';
        if (suffix)
            Advance();
        Token token = Make(Tok::Integer, at, space);
        if (value <= 0xFFFF && !suffix)
            token.integer = static_cast<std::int16_t>(value);
        else
            token.integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return token;
    }

    Token Text(SourcePos at, bool space) {
        Advance();
        std::u16string text;
        for (;;) {
            if (AtEnd() || Peek() == u'\r' || Peek() == u'\n')
                return Invalid(at, space, kErrUnterminatedString);
            if (Peek() == u'"') {
                Advance();
                if (Peek() != u'"')
                    break;
            }
            text += Peek();
            Advance();
        }
        Token token = Make(Tok::String, at, space);
        token.text = std::move(text);
        return token;
    }

    Token DateLiteral(SourcePos at, bool space) {
        Advance();
        const std::size_t start = pos_;
        while (!AtEnd() && Peek() != u'#' && Peek() != u'\r' && Peek() != u'\n')
            Advance();
        if (Peek() != u'#')
            return Invalid(at, space, kErrSyntax);
        const auto date = ParseDateLiteral(src_.substr(start, pos_ - start));
        Advance();
        if (!date)
            return Invalid(at, space, kErrSyntax);
        Token token = Make(Tok::Date, at, space);
        token.number = *date;
        return token;
    }

    Token Punctuation(SourcePos at, bool space) {
        const char16_t c = Peek();
        Advance();
        switch (c) {
        case u':':
            return Make(Tok::Colon, at, space);
        case u'(':
            return Make(Tok::LParen, at, space);
        case u')':
            return Make(Tok::RParen, at, space);
        case u',':
            return Make(Tok::Comma, at, space);
        case u'.':
            return Make(Tok::Dot, at, space);
        case u'=':
            // =< and => are the old spellings of <= and >=.
            if (Peek() == u'<' || Peek() == u'>') {
                const Tok kind = Peek() == u'<' ? Tok::Le : Tok::Ge;
                Advance();
                return Make(kind, at, space);
            }
            return Make(Tok::Eq, at, space);
        case u'+':
            return Make(Tok::Plus, at, space);
        case u'-':
            return Make(Tok::Minus, at, space);
        case u'*':
            return Make(Tok::Star, at, space);
        case u'/':
            return Make(Tok::Slash, at, space);
        case u'\\':
            return Make(Tok::Backslash, at, space);
        case u'^':
            return Make(Tok::Caret, at, space);
        case u'&':
            return Make(Tok::Amp, at, space);
        case u'<':
            if (Peek() == u'>') {
                Advance();
                return Make(Tok::Ne, at, space);
            }
            if (Peek() == u'=') {
                Advance();
                return Make(Tok::Le, at, space);
            }
            return Make(Tok::Lt, at, space);
        case u'>':
            if (Peek() == u'<') { // >< for <>
                Advance();
                return Make(Tok::Ne, at, space);
            }
            if (Peek() == u'=') {
                Advance();
                return Make(Tok::Ge, at, space);
            }
            return Make(Tok::Gt, at, space);
        default:
            return Invalid(at, space, kErrInvalidCharacter);
        }
    }

    std::u16string_view src_;
    MemoryHold* memory_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t lineStart_ = 0;
};

} // namespace

std::vector<Token> Tokenize(std::u16string_view source, MemoryHold* memory) {
    return Lexer(source, memory).Run();
}

std::u16string_view TokenName(Tok kind) {
    switch (kind) {
#define VBS_KEYWORD_NAME(name, text)                                                                         \
    case Tok::Kw##name:                                                                                      \
        return u"" #name;
        VBS_KEYWORDS(VBS_KEYWORD_NAME)
#undef VBS_KEYWORD_NAME
    default:
        return u"";
    }
}

} // namespace zorv::vbs
