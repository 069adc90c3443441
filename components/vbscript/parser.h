#pragma once
// Builds the syntax tree of a script text. One error per bad statement is
// kept, then parsing resumes at the next line, so a text reports its errors
// in order without cascades.
#include <string_view>
#include <vector>

#include "ast.h"

namespace zorv::vbs {

struct ParseResult {
    // Charged to the memory guard for as long as the tree lives; past the
    // bound, ParseScript throws error 7 with the line reached.
    MemoryHold memory;
    ScriptAst ast;
    std::vector<ScriptError> errors;
};

ParseResult ParseScript(std::u16string_view source);
// A lone expression, as Eval takes it.
ParseResult ParseExpressionText(std::u16string_view source, ExprPtr& expression);

} // namespace zorv::vbs
