#include "regexp_engine.h"

#include <algorithm>
#include <utility>

#include "error_texts.h"
#include "platform/com/case_mapping.h"
#include "platform/com/date_number_rules.h"

namespace zorv::vbs::regex {

namespace {

constexpr int kSyntax = kErrRegExpSyntax;
constexpr int kQuantifier = kErrRegExpQuantifier;
constexpr int kBracket = kErrRegExpBracket;
constexpr int kParen = kErrRegExpParen;
constexpr int kRange = kErrRegExpRange;

constexpr int kMaxDepth = 250;  // nested groups; keeps the recursive parser off the stack's edge
constexpr int kMaxCount = 1000; // the largest {n,m} bound
constexpr std::size_t kMaxProgram = 40000;
constexpr long kStepBudget = 20'000'000; // backtracking steps per search

using Range = std::pair<char16_t, char16_t>;

struct CharClass {
    std::vector<Range> ranges; // sorted, merged
};

std::vector<Range> Normalise(std::vector<Range> ranges) {
    std::sort(ranges.begin(), ranges.end());
    std::vector<Range> out;
    for (const Range& r : ranges) {
        if (!out.empty() && r.first <= out.back().second + 1)
            out.back().second = std::max(out.back().second, r.second);
        else
            out.push_back(r);
    }
    return out;
}

std::vector<Range> Complement(const std::vector<Range>& sorted) {
    std::vector<Range> out;
    std::uint32_t next = 0;
    for (const Range& r : sorted) {
        if (r.first > next)
            out.push_back({static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1)});
        next = static_cast<std::uint32_t>(r.second) + 1;
    }
    if (next <= 0xFFFF)
        out.push_back({static_cast<char16_t>(next), char16_t(0xFFFF)});
    return out;
}

std::vector<Range> Digits() {
    return {{u'0', u'9'}};
}
std::vector<Range> WordChars() {
    return {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
}
std::vector<Range> Spaces() {
    return {{0x09, 0x0D},     {0x20, 0x20},     {0xA0, 0xA0},     {0x1680, 0x1680}, {0x2000, 0x200A},
            {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
}

bool InRanges(const std::vector<Range>& ranges, char16_t c) {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), c,
                               [](char16_t value, const Range& r) { return value < r.first; });
    return it != ranges.begin() && c <= std::prev(it)->second;
}

bool IsWordChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool IsLineEnd(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// ---------------------------------------------------------------- syntax tree

enum class Kind {
    Empty,
    Char,
    Any,
    Class,
    Bol,
    Eol,
    WordB,
    NotWordB,
    Group,
    Look,
    LookNot,
    BackRef,
    Concat,
    Alt,
    Repeat
};

struct Node {
    Kind kind = Kind::Empty;
    char16_t ch = 0;
    int index = -1; // class, capture group (or -1) or backreference number
    int min = 0;
    int max = 0; // -1: no upper bound
    bool greedy = true;
    std::vector<int> kids;
};

int CountGroups(std::u16string_view p) {
    int count = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == u'\\') {
            ++i;
        } else if (inClass) {
            inClass = p[i] != u']';
        } else if (p[i] == u'[') {
            inClass = true;
        } else if (p[i] == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
            ++count;
        }
    }
    return count;
}

class Parser {
public:
    Parser(std::u16string_view pattern, std::vector<Node>& nodes, std::vector<CharClass>& classes)
        : p_(pattern), nodes_(nodes), classes_(classes), totalGroups_(CountGroups(pattern)) {}

    int Parse() {
        const int root = Alternation(0);
        if (at_ < p_.size()) // an unmatched ')'
            throw PatternError{kSyntax};
        return root;
    }
    int Groups() const { return groups_; }

private:
    int Add(Node node) {
        nodes_.push_back(std::move(node));
        return static_cast<int>(nodes_.size() - 1);
    }
    bool More() const { return at_ < p_.size(); }
    char16_t Peek() const { return p_[at_]; }

    // alternation: concatenation ('|' concatenation)*
    int Alternation(int depth) {
        if (depth > kMaxDepth)
            throw PatternError{kSyntax};
        Node alt;
        alt.kind = Kind::Alt;
        alt.kids.push_back(Concatenation(depth));
        while (More() && Peek() == u'|') {
            ++at_;
            alt.kids.push_back(Concatenation(depth));
        }
        return alt.kids.size() == 1 ? alt.kids[0] : Add(std::move(alt));
    }

    // concatenation: quantified*
    int Concatenation(int depth) {
        Node seq;
        seq.kind = Kind::Concat;
        while (More() && Peek() != u'|' && Peek() != u')')
            seq.kids.push_back(Quantified(depth));
        if (seq.kids.size() == 1)
            return seq.kids[0];
        return Add(std::move(seq));
    }

    // A {n}, {n,} or {n,m} at at_, read without moving when it is none.
    bool Braces(int& min, int& max, std::size_t& end) const {
        std::size_t i = at_ + 1;
        auto number = [&](int& out) {
            const std::size_t first = i;
            long value = 0;
            while (i < p_.size() && p_[i] >= u'0' && p_[i] <= u'9') {
                value = std::min<long>(value * 10 + (p_[i] - u'0'), 1'000'000);
                ++i;
            }
            out = static_cast<int>(value);
            return i > first;
        };
        if (!number(min))
            return false;
        max = min;
        if (i < p_.size() && p_[i] == u',') {
            ++i;
            if (!number(max))
                max = -1;
        }
        if (i >= p_.size() || p_[i] != u'}')
            return false;
        end = i + 1;
        return true;
    }

    bool AtQuantifier() const {
        if (!More())
            return false;
        if (Peek() == u'*' || Peek() == u'+' || Peek() == u'?')
            return true;
        int min, max;
        std::size_t end;
        return Peek() == u'{' && Braces(min, max, end);
    }

    // quantified: atom [ ('*' | '+' | '?' | '{n,m}') ['?'] ]
    int Quantified(int depth) {
        if (AtQuantifier())
            throw PatternError{kQuantifier};
        const int atom = Atom(depth);
        if (!AtQuantifier())
            return atom;
        const Kind kind = nodes_[atom].kind;
        if (kind == Kind::Bol || kind == Kind::Eol || kind == Kind::WordB || kind == Kind::NotWordB)
            throw PatternError{kQuantifier};
        Node rep;
        rep.kind = Kind::Repeat;
        rep.kids.push_back(atom);
        switch (Peek()) {
        case u'*':
            rep.min = 0, rep.max = -1, ++at_;
            break;
        case u'+':
            rep.min = 1, rep.max = -1, ++at_;
            break;
        case u'?':
            rep.min = 0, rep.max = 1, ++at_;
            break;
        default: {
            std::size_t end = at_;
            Braces(rep.min, rep.max, end);
            at_ = end;
            if (rep.min > kMaxCount || rep.max > kMaxCount)
                throw PatternError{kSyntax};
            if (rep.max >= 0 && rep.max < rep.min)
                throw PatternError{kSyntax};
        }
        }
        if (More() && Peek() == u'?') {
            rep.greedy = false;
            ++at_;
        }
        if (AtQuantifier())
            throw PatternError{kQuantifier};
        return Add(std::move(rep));
    }

    int Char(char16_t c) {
        Node n;
        n.kind = Kind::Char;
        n.ch = c;
        return Add(std::move(n));
    }

    int Class(std::vector<Range> ranges) {
        classes_.push_back({Normalise(std::move(ranges))});
        Node n;
        n.kind = Kind::Class;
        n.index = static_cast<int>(classes_.size() - 1);
        return Add(std::move(n));
    }

    int Simple(Kind kind) {
        Node n;
        n.kind = kind;
        return Add(std::move(n));
    }

    // atom: '(' ... ')' | '[' ... ']' | '.' | '^' | '$' | '\' escape | character
    int Atom(int depth) {
        const char16_t c = p_[at_++];
        switch (c) {
        case u'(':
            return Group(depth);
        case u'[':
            return Class(ClassBody());
        case u'.':
            return Simple(Kind::Any);
        case u'^':
            return Simple(Kind::Bol);
        case u'$':
            return Simple(Kind::Eol);
        case u'\\':
            return Escape();
        default:
            return Char(c);
        }
    }

    int Group(int depth) {
        Node n;
        n.kind = Kind::Group;
        if (More() && Peek() == u'?') {
            if (at_ + 1 >= p_.size())
                throw PatternError{kSyntax};
            const char16_t what = p_[at_ + 1];
            if (what == u':')
                n.kind = Kind::Group;
            else if (what == u'=')
                n.kind = Kind::Look;
            else if (what == u'!')
                n.kind = Kind::LookNot;
            else
                throw PatternError{kSyntax};
            at_ += 2;
        } else {
            n.index = ++groups_;
        }
        n.kids.push_back(Alternation(depth + 1));
        if (!More() || Peek() != u')')
            throw PatternError{kParen};
        ++at_;
        return Add(std::move(n));
    }

    // The character of an escape that stands for one (\n, \x41, \u00e9, \cJ, \0, \.).
    char16_t EscapedChar(char16_t c) {
        switch (c) {
        case u'n':
            return u'\n';
        case u'r':
            return u'\r';
        case u't':
            return u'\t';
        case u'f':
            return u'\f';
        case u'v':
            return u'\v';
        case u'c':
            if (More() && ((Peek() >= u'a' && Peek() <= u'z') || (Peek() >= u'A' && Peek() <= u'Z')))
                return static_cast<char16_t>(p_[at_++] % 32);
            return u'c';
        case u'x':
            if (at_ + 1 < p_.size() && com::HexDigitValue(p_[at_]) >= 0 &&
                com::HexDigitValue(p_[at_ + 1]) >= 0) {
                const int v = com::HexDigitValue(p_[at_]) * 16 + com::HexDigitValue(p_[at_ + 1]);
                at_ += 2;
                return static_cast<char16_t>(v);
            }
            return u'x';
        case u'u':
            if (at_ + 3 < p_.size() && com::HexDigitValue(p_[at_]) >= 0 &&
                com::HexDigitValue(p_[at_ + 1]) >= 0 && com::HexDigitValue(p_[at_ + 2]) >= 0 &&
                com::HexDigitValue(p_[at_ + 3]) >= 0) {
                int v = 0;
                for (int k = 0; k < 4; ++k)
                    v = v * 16 + com::HexDigitValue(p_[at_++]);
                return static_cast<char16_t>(v);
            }
            return u'u';
        default:
            if (c >= u'0' && c <= u'7') { // octal, as browsers of the time read \0 and \12
                int v = c - u'0';
                for (int k = 0;
                     k < 2 && More() && Peek() >= u'0' && Peek() <= u'7' && v * 8 + (Peek() - u'0') <= 0377;
                     ++k)
                    v = v * 8 + (p_[at_++] - u'0');
                return static_cast<char16_t>(v);
            }
            return c;
        }
    }

    // A class escape (\d \w \s and their negations) into `out`; false when it is none.
    static bool ClassEscape(char16_t c, std::vector<Range>& out) {
        std::vector<Range> set;
        switch (c) {
        case u'd':
        case u'D':
            set = Digits();
            break;
        case u'w':
        case u'W':
            set = WordChars();
            break;
        case u's':
        case u'S':
            set = Spaces();
            break;
        default:
            return false;
        }
        if (c == u'D' || c == u'W' || c == u'S')
            set = Complement(Normalise(std::move(set)));
        out.insert(out.end(), set.begin(), set.end());
        return true;
    }

    int Escape() {
        if (!More())
            throw PatternError{kSyntax};
        const char16_t c = p_[at_++];
        if (c == u'b')
            return Simple(Kind::WordB);
        if (c == u'B')
            return Simple(Kind::NotWordB);
        std::vector<Range> set;
        if (ClassEscape(c, set))
            return Class(std::move(set));
        if (c >= u'1' && c <= u'9') {
            std::size_t i = at_ - 1;
            int number = 0;
            while (i < p_.size() && p_[i] >= u'0' && p_[i] <= u'9' &&
                   number * 10 + (p_[i] - u'0') <= totalGroups_)
                number = number * 10 + (p_[i++] - u'0');
            if (number >= 1) {
                at_ = i;
                Node n;
                n.kind = Kind::BackRef;
                n.index = number;
                return Add(std::move(n));
            }
        }
        return Char(EscapedChar(c));
    }

    // class: '[' ['^'] (item ['-' item])* ']'
    std::vector<Range> ClassBody() {
        bool negated = false;
        if (More() && Peek() == u'^') {
            negated = true;
            ++at_;
        }
        std::vector<Range> ranges;
        for (;;) {
            if (!More())
                throw PatternError{kBracket};
            if (Peek() == u']') {
                ++at_;
                break;
            }
            int low = ClassItem(ranges);
            if (low >= 0 && at_ + 1 < p_.size() && Peek() == u'-' && p_[at_ + 1] != u']') {
                ++at_;
                std::vector<Range> scratch;
                const int high = ClassItem(scratch);
                if (high < 0) { // [a-\d]: the dash stands for itself
                    ranges.push_back({static_cast<char16_t>(low), static_cast<char16_t>(low)});
                    ranges.push_back({u'-', u'-'});
                    ranges.insert(ranges.end(), scratch.begin(), scratch.end());
                    continue;
                }
                if (high < low)
                    throw PatternError{kRange};
                ranges.push_back({static_cast<char16_t>(low), static_cast<char16_t>(high)});
            } else if (low >= 0) {
                ranges.push_back({static_cast<char16_t>(low), static_cast<char16_t>(low)});
            }
        }
        ranges = Normalise(std::move(ranges));
        return negated ? Complement(ranges) : ranges;
    }

    // One character of a class (its code), or -1 after adding a class escape to `ranges`.
    int ClassItem(std::vector<Range>& ranges) {
        const char16_t c = p_[at_++];
        if (c != u'\\')
            return c;
        if (!More())
            throw PatternError{kBracket};
        const char16_t e = p_[at_++];
        if (ClassEscape(e, ranges))
            return -1;
        if (e == u'b')
            return u'\b';
        return EscapedChar(e);
    }

    std::u16string_view p_;
    std::size_t at_ = 0;
    std::vector<Node>& nodes_;
    std::vector<CharClass>& classes_;
    int groups_ = 0;
    int totalGroups_;
};

// ---------------------------------------------------------------- program

enum class Op : std::uint8_t {
    Char,  // c
    Any,   // any character but a line end
    Class, // x: class
    Split, // try x, then y
    Jmp,   // x
    Save,  // slot x = position
    Check, // fail when slot x = position (an empty loop iteration)
    Reset, // slots x..y-1 = unset (a repeated group's captures, at each pass)
    Bol,
    Eol,
    WordB,
    NotWordB,
    BackRef, // x: group
    Look,    // body at x, continue at y
    LookNot,
    LookEnd,
    Match,
};

struct Inst {
    Op op;
    char16_t c = 0;
    int x = 0;
    int y = 0;
};

} // namespace

struct Program {
    std::vector<Inst> code;
    std::vector<CharClass> classes;
    int groups = 0;
    int slots = 0; // captures then loop registers
    bool ignoreCase = false;
    bool multiline = false;
    bool backtrack = false;
};

namespace {

class Compiler {
public:
    Compiler(const std::vector<Node>& nodes, Program& program) : nodes_(nodes), prog_(program) {}

    void Compile(int root) {
        Emit({Op::Save, 0, 0, 0});
        Node(root);
        Emit({Op::Save, 0, 1, 0});
        Emit({Op::Match});
    }
    int Registers() const { return registers_; }

private:
    int Emit(Inst inst) {
        if (prog_.code.size() >= kMaxProgram)
            throw PatternError{kSyntax};
        prog_.code.push_back(inst);
        return static_cast<int>(prog_.code.size() - 1);
    }
    int Here() const { return static_cast<int>(prog_.code.size()); }

    bool Nullable(int i) const {
        const regex::Node& n = nodes_[i];
        switch (n.kind) {
        case Kind::Char:
        case Kind::Any:
        case Kind::Class:
            return false;
        case Kind::Group:
            return Nullable(n.kids[0]);
        case Kind::Concat:
            return std::all_of(n.kids.begin(), n.kids.end(), [&](int k) { return Nullable(k); });
        case Kind::Alt:
            return std::any_of(n.kids.begin(), n.kids.end(), [&](int k) { return Nullable(k); });
        case Kind::Repeat:
            return n.min == 0 || Nullable(n.kids[0]);
        default:
            return true;
        }
    }

    void Node(int i) {
        const regex::Node& n = nodes_[i];
        switch (n.kind) {
        case Kind::Empty:
            return;
        case Kind::Char:
            Emit({Op::Char, n.ch});
            return;
        case Kind::Any:
            Emit({Op::Any});
            return;
        case Kind::Class:
            Emit({Op::Class, 0, n.index});
            return;
        case Kind::Bol:
            Emit({Op::Bol});
            return;
        case Kind::Eol:
            Emit({Op::Eol});
            return;
        case Kind::WordB:
            Emit({Op::WordB});
            return;
        case Kind::NotWordB:
            Emit({Op::NotWordB});
            return;
        case Kind::BackRef:
            prog_.backtrack = true;
            Emit({Op::BackRef, 0, n.index});
            return;
        case Kind::Group:
            if (n.index < 0) {
                Node(n.kids[0]);
                return;
            }
            Emit({Op::Save, 0, 2 * n.index});
            Node(n.kids[0]);
            Emit({Op::Save, 0, 2 * n.index + 1});
            return;
        case Kind::Look:
        case Kind::LookNot: {
            prog_.backtrack = true;
            const int look = Emit({n.kind == Kind::Look ? Op::Look : Op::LookNot, 0, 0});
            prog_.code[look].x = Here();
            Node(n.kids[0]);
            Emit({Op::LookEnd});
            prog_.code[look].y = Here();
            return;
        }
        case Kind::Concat:
            for (int k : n.kids)
                Node(k);
            return;
        case Kind::Alt: {
            std::vector<int> exits;
            for (std::size_t k = 0; k < n.kids.size(); ++k) {
                if (k + 1 < n.kids.size()) {
                    const int split = Emit({Op::Split});
                    prog_.code[split].x = Here();
                    Node(n.kids[k]);
                    exits.push_back(Emit({Op::Jmp}));
                    prog_.code[split].y = Here();
                } else {
                    Node(n.kids[k]);
                }
            }
            for (int e : exits)
                prog_.code[e].x = Here();
            return;
        }
        case Kind::Repeat:
            Repeat(n);
            return;
        }
    }

    // The capture slots of the groups inside node i, as [first, end).
    void GroupSlots(int i, int& first, int& end) const {
        const regex::Node& n = nodes_[i];
        if (n.kind == Kind::Group && n.index >= 0) {
            first = std::min(first, 2 * n.index);
            end = std::max(end, 2 * n.index + 2);
        }
        for (int k : n.kids)
            GroupSlots(k, first, end);
    }

    // Each pass of a repeated body starts with its groups unset, so that a
    // group the last pass did not reach reports nothing (as JavaScript does).
    void RepeatedBody(int body) {
        int first = INT32_MAX;
        int end = 0;
        GroupSlots(body, first, end);
        if (end > first)
            Emit({Op::Reset, 0, first, end});
        Node(body);
    }

    // x{min,max}: min copies, then either a loop or (max - min) optional copies.
    void Repeat(const regex::Node& n) {
        const int body = n.kids[0];
        for (int k = 0; k < n.min; ++k)
            RepeatedBody(body);
        const bool nullable = Nullable(body);
        if (n.max < 0) {
            const int split = Emit({Op::Split});
            const int start = Here();
            int reg = -1;
            if (nullable) {
                reg = registers_++;
                Emit({Op::Save, 0, -1 - reg}); // patched to a real slot once groups are known
            }
            RepeatedBody(body);
            if (nullable)
                Emit({Op::Check, 0, -1 - reg});
            Emit({Op::Jmp, 0, split});
            Branch(split, start, Here(), n.greedy);
            return;
        }
        std::vector<int> splits;
        for (int k = n.min; k < n.max; ++k) {
            const int split = Emit({Op::Split});
            splits.push_back(split);
            prog_.code[split].x = Here();
            RepeatedBody(body);
        }
        for (int split : splits)
            Branch(split, split + 1, Here(), n.greedy);
    }

    void Branch(int split, int body, int skip, bool greedy) {
        prog_.code[split].x = greedy ? body : skip;
        prog_.code[split].y = greedy ? skip : body;
    }

    const std::vector<regex::Node>& nodes_;
    Program& prog_;
    int registers_ = 0;
};

char16_t Canon(char16_t c) {
    return com::UpperChar(c);
}

class Matcher {
public:
    Matcher(const Program& prog, std::u16string_view text) : p_(prog), t_(text) {}

    bool PikeSearch(std::size_t from, std::vector<int>& best);
    bool BacktrackSearch(std::size_t from, std::vector<int>& slots);

private:
    bool CharAt(std::size_t pos, const Inst& in) const {
        if (pos >= t_.size())
            return false;
        const char16_t c = t_[pos];
        switch (in.op) {
        case Op::Char:
            return c == in.c || (p_.ignoreCase && Canon(c) == Canon(in.c));
        case Op::Any:
            return !IsLineEnd(c);
        case Op::Class: {
            const auto& ranges = p_.classes[static_cast<std::size_t>(in.x)].ranges;
            if (InRanges(ranges, c))
                return true;
            return p_.ignoreCase &&
                   (InRanges(ranges, com::UpperChar(c)) || InRanges(ranges, com::LowerChar(c)));
        }
        default:
            return false;
        }
    }

    bool Assert(Op op, std::size_t pos) const {
        switch (op) {
        case Op::Bol:
            return pos == 0 || (p_.multiline && IsLineEnd(t_[pos - 1]));
        case Op::Eol:
            return pos == t_.size() || (p_.multiline && IsLineEnd(t_[pos]));
        case Op::WordB:
        case Op::NotWordB: {
            const bool before = pos > 0 && IsWordChar(t_[pos - 1]);
            const bool after = pos < t_.size() && IsWordChar(t_[pos]);
            return (before != after) == (op == Op::WordB);
        }
        default:
            return true;
        }
    }

    // ---- Pike VM
    struct List {
        std::vector<int> sparse, dense;
        std::vector<int> caps;
        int count = 0;
        void Init(std::size_t size, std::size_t slots) {
            sparse.assign(size, 0);
            dense.assign(size, 0);
            caps.assign(size * slots, -1);
            count = 0;
        }
        bool Has(int pc) const {
            const int i = sparse[static_cast<std::size_t>(pc)];
            return i < count && dense[static_cast<std::size_t>(i)] == pc;
        }
        int Insert(int pc) {
            sparse[static_cast<std::size_t>(pc)] = count;
            dense[static_cast<std::size_t>(count)] = pc;
            return count++;
        }
    };
    struct Pending {
        int pc;
        int slot; // >= 0: restore this slot to `value` instead
        int value;
    };
    void AddThread(List& list, int pc, std::size_t pos, std::vector<int>& cur);

    // ---- backtracking
    bool Run(int pc, std::size_t pos, std::vector<int>& slots, int depth);

    const Program& p_;
    std::u16string_view t_;
    std::vector<Pending> pending_;
    long budget_ = kStepBudget;
};

void Matcher::AddThread(List& list, int startPc, std::size_t pos, std::vector<int>& cur) {
    const int ipos = static_cast<int>(pos);
    pending_.clear();
    pending_.push_back({startPc, -1, 0});
    while (!pending_.empty()) {
        const Pending e = pending_.back();
        pending_.pop_back();
        if (e.slot >= 0) {
            cur[static_cast<std::size_t>(e.slot)] = e.value;
            continue;
        }
        int pc = e.pc;
        for (;;) {
            if (list.Has(pc))
                break;
            const int index = list.Insert(pc);
            const Inst& in = p_.code[static_cast<std::size_t>(pc)];
            bool stop = false;
            switch (in.op) {
            case Op::Jmp:
                pc = in.x;
                continue;
            case Op::Split:
                pending_.push_back({in.y, -1, 0});
                pc = in.x;
                continue;
            case Op::Save:
                pending_.push_back({0, in.x, cur[static_cast<std::size_t>(in.x)]});
                cur[static_cast<std::size_t>(in.x)] = ipos;
                ++pc;
                continue;
            case Op::Reset:
                for (int slot = in.x; slot < in.y; ++slot) {
                    pending_.push_back({0, slot, cur[static_cast<std::size_t>(slot)]});
                    cur[static_cast<std::size_t>(slot)] = -1;
                }
                ++pc;
                continue;
            case Op::Check:
                if (cur[static_cast<std::size_t>(in.x)] == ipos)
                    stop = true;
                ++pc;
                break;
            case Op::Bol:
            case Op::Eol:
            case Op::WordB:
            case Op::NotWordB:
                if (!Assert(in.op, pos))
                    stop = true;
                ++pc;
                break;
            default:
                std::copy(cur.begin(), cur.end(),
                          list.caps.begin() + static_cast<std::ptrdiff_t>(index) * p_.slots);
                stop = true;
                break;
            }
            if (stop)
                break;
        }
    }
}

bool Matcher::PikeSearch(std::size_t from, std::vector<int>& best) {
    const std::size_t size = p_.code.size();
    const std::size_t slots = static_cast<std::size_t>(p_.slots);
    List lists[2];
    lists[0].Init(size, slots);
    lists[1].Init(size, slots);
    List* clist = &lists[0];
    List* nlist = &lists[1];
    std::vector<int> cur(slots, -1);
    bool matched = false;
    for (std::size_t pos = from; pos <= t_.size(); ++pos) {
        if (!matched) {
            std::fill(cur.begin(), cur.end(), -1);
            AddThread(*clist, 0, pos, cur);
        }
        if (clist->count == 0)
            break;
        nlist->count = 0;
        for (int i = 0; i < clist->count; ++i) {
            const int pc = clist->dense[static_cast<std::size_t>(i)];
            const Inst& in = p_.code[static_cast<std::size_t>(pc)];
            const auto caps = clist->caps.begin() + static_cast<std::ptrdiff_t>(i) * p_.slots;
            if (in.op == Op::Match) {
                matched = true;
                best.assign(caps, caps + p_.slots);
                break; // threads of lower priority give way
            }
            if (CharAt(pos, in)) {
                std::copy(caps, caps + p_.slots, cur.begin());
                AddThread(*nlist, pc + 1, pos + 1, cur);
            }
        }
        std::swap(clist, nlist);
    }
    return matched;
}

bool Matcher::Run(int pc, std::size_t pos, std::vector<int>& slots, int depth) {
    struct Entry {
        int pc; // -1: restore slot `slot` to `value`
        int slot;
        std::size_t pos;
        int value;
    };
    std::vector<Entry> stack;
    for (;;) {
        if (--budget_ < 0)
            throw BudgetExceeded{};
        const Inst& in = p_.code[static_cast<std::size_t>(pc)];
        bool fail = false;
        switch (in.op) {
        case Op::Char:
        case Op::Any:
        case Op::Class:
            if (CharAt(pos, in)) {
                ++pos;
                ++pc;
            } else {
                fail = true;
            }
            break;
        case Op::Split:
            stack.push_back({in.y, 0, pos, 0});
            pc = in.x;
            break;
        case Op::Jmp:
            pc = in.x;
            break;
        case Op::Save:
            stack.push_back({-1, in.x, 0, slots[static_cast<std::size_t>(in.x)]});
            slots[static_cast<std::size_t>(in.x)] = static_cast<int>(pos);
            ++pc;
            break;
        case Op::Reset:
            for (int slot = in.x; slot < in.y; ++slot) {
                stack.push_back({-1, slot, 0, slots[static_cast<std::size_t>(slot)]});
                slots[static_cast<std::size_t>(slot)] = -1;
            }
            ++pc;
            break;
        case Op::Check:
            fail = slots[static_cast<std::size_t>(in.x)] == static_cast<int>(pos);
            ++pc;
            break;
        case Op::Bol:
        case Op::Eol:
        case Op::WordB:
        case Op::NotWordB:
            fail = !Assert(in.op, pos);
            ++pc;
            break;
        case Op::BackRef: {
            const int start = slots[static_cast<std::size_t>(2 * in.x)];
            const int end = slots[static_cast<std::size_t>(2 * in.x + 1)];
            ++pc;
            if (start < 0 || end < start)
                break;
            const std::size_t length = static_cast<std::size_t>(end - start);
            if (pos + length > t_.size()) {
                fail = true;
                break;
            }
            for (std::size_t k = 0; k < length && !fail; ++k) {
                const char16_t a = t_[static_cast<std::size_t>(start) + k];
                const char16_t b = t_[pos + k];
                fail = a != b && !(p_.ignoreCase && Canon(a) == Canon(b));
            }
            if (!fail)
                pos += length;
            break;
        }
        case Op::Look:
        case Op::LookNot: {
            if (depth > kMaxDepth)
                throw BudgetExceeded{};
            std::vector<int> inner = slots;
            const bool found = Run(in.x, pos, inner, depth + 1);
            if (in.op == Op::LookNot) {
                fail = found;
            } else if (!found) {
                fail = true;
            } else {
                for (std::size_t s = 0; s < slots.size(); ++s)
                    if (inner[s] != slots[s]) {
                        stack.push_back({-1, static_cast<int>(s), 0, slots[s]});
                        slots[s] = inner[s];
                    }
            }
            pc = in.y;
            break;
        }
        case Op::LookEnd:
        case Op::Match:
            return true;
        }
        if (!fail)
            continue;
        for (;;) {
            if (stack.empty())
                return false;
            const Entry e = stack.back();
            stack.pop_back();
            if (e.pc < 0) {
                slots[static_cast<std::size_t>(e.slot)] = e.value;
                continue;
            }
            pc = e.pc;
            pos = e.pos;
            break;
        }
    }
}

bool Matcher::BacktrackSearch(std::size_t from, std::vector<int>& slots) {
    for (std::size_t start = from; start <= t_.size(); ++start) {
        slots.assign(static_cast<std::size_t>(p_.slots), -1);
        if (Run(0, start, slots, 0))
            return true;
    }
    return false;
}

} // namespace

Regex::Regex(std::u16string_view pattern, bool ignoreCase, bool multiline)
    : program_(std::make_unique<Program>()) {
    std::vector<Node> nodes;
    Parser parser(pattern, nodes, program_->classes);
    const int root = parser.Parse();
    program_->groups = parser.Groups();
    program_->ignoreCase = ignoreCase;
    program_->multiline = multiline;
    Compiler compiler(nodes, *program_);
    compiler.Compile(root);
    const int captureSlots = 2 * (program_->groups + 1);
    program_->slots = captureSlots + compiler.Registers();
    // Loop registers were numbered -1, -2, ... before the captures were counted.
    for (Inst& in : program_->code)
        if ((in.op == Op::Save || in.op == Op::Check) && in.x < 0)
            in.x = captureSlots + (-1 - in.x);
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

int Regex::Groups() const {
    return program_->groups;
}

bool Regex::Search(std::u16string_view text, std::size_t from, std::vector<int>& slots) const {
    if (from > text.size())
        return false;
    Matcher matcher(*program_, text);
    const bool found =
        program_->backtrack ? matcher.BacktrackSearch(from, slots) : matcher.PikeSearch(from, slots);
    if (found)
        slots.resize(static_cast<std::size_t>(2 * (program_->groups + 1)));
    return found;
}

} // namespace zorv::vbs::regex
