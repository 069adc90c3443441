#pragma once
// Splits script text into tokens. Keywords and names are matched without
// regard to case; after a "." every word is a member name, so objects may
// have members called Open, Select or End.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script_error.h"
#include "value.h"

namespace zorv::vbs {

#define VBS_KEYWORDS(X)                                                                                      \
    X(And, "and")                                                                                            \
    X(ByRef, "byref")                                                                                        \
    X(ByVal, "byval")                                                                                        \
    X(Call, "call")                                                                                          \
    X(Case, "case") X(Class, "class") X(Const, "const") X(Dim, "dim") X(Do, "do") X(Each, "each")            \
        X(Else, "else") X(ElseIf, "elseif") X(Empty, "empty") X(End, "end") X(Eqv, "eqv") X(Erase, "erase")  \
            X(Exit, "exit") X(False, "false") X(For, "for") X(Function, "function") X(GoTo, "goto")          \
                X(If, "if") X(Imp, "imp") X(In, "in") X(Is, "is") X(Loop, "loop") X(Me, "me") X(Mod, "mod")  \
                    X(New, "new") X(Next, "next") X(Not, "not") X(Nothing, "nothing") X(Null, "null")        \
                        X(On, "on") X(Option, "option") X(Or, "or") X(Private, "private")                    \
                            X(Property, "property") X(Public, "public") X(ReDim, "redim")                    \
                                X(Resume, "resume") X(Select, "select") X(Set, "set") X(Sub, "sub")          \
                                    X(Then, "then") X(To, "to") X(True, "true") X(Until, "until")            \
                                        X(Wend, "wend") X(While, "while") X(With, "with") X(Xor, "xor")

enum class Tok : std::uint8_t {
    End,
    Newline,
    Colon,
    Identifier,
    Integer,
    Float,
    String,
    Date,
    LParen,
    RParen,
    Comma,
    Dot,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Amp,
    Invalid,
#define VBS_KEYWORD_TOKEN(name, text) Kw##name,
    VBS_KEYWORDS(VBS_KEYWORD_TOKEN)
#undef VBS_KEYWORD_TOKEN
};

struct Token {
    Tok kind = Tok::End;
    bool spaceBefore = false;
    SourcePos pos;
    std::u16string text; // names as written, string contents unescaped
    double number = 0;
    std::int64_t integer = 0;
    int error = 0; // for Invalid: the compile error number
};

// The whole text at once; the last token is always End. Lexical errors come
// as Invalid tokens so that the parser reports them in order.
// With `memory`, the tokens are charged to the memory guard as they come;
// past the bound, error 7 names the line reached.
std::vector<Token> Tokenize(std::u16string_view source, MemoryHold* memory = nullptr);

std::u16string_view TokenName(Tok kind);

} // namespace zorv::vbs
