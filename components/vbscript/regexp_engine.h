#pragma once
// The pattern matcher behind RegExp: JavaScript-flavoured patterns as
// VBScript reads them, compiled to a small instruction program.
//
// Two matchers run that program. Patterns without backreferences or
// lookahead (nearly all of them) run on a Pike VM: a Thompson NFA that
// carries captures in each thread, so a search takes time proportional to
// the text times the program, whatever the pattern; `(a+)+$` cannot blow up.
// Backreferences and lookahead need a backtracking matcher; it keeps its own
// stack (no recursion but one level per nested lookahead) and a step budget,
// and a search that exceeds the budget ends with a script error instead of
// holding the bench.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace zorv::vbs::regex {

// A bad pattern: the VBScript error number that describes it (kErrRegExpSyntax to kErrRegExpRange).
struct PatternError {
    int number;
};
// A backtracking search took more steps than the budget allows.
struct BudgetExceeded {};

struct Program;

class Regex {
public:
    // Throws PatternError.
    Regex(std::u16string_view pattern, bool ignoreCase, bool multiline);
    ~Regex();
    Regex(Regex&&) noexcept;
    Regex& operator=(Regex&&) noexcept;

    int Groups() const;
    // The leftmost match starting at or after `from`: `slots` receives
    // 2 * (Groups() + 1) offsets, start and end of the whole match then of
    // each group, -1 for a group that took no part. Throws BudgetExceeded.
    bool Search(std::u16string_view text, std::size_t from, std::vector<int>& slots) const;

private:
    std::unique_ptr<Program> program_;
};

} // namespace zorv::vbs::regex
