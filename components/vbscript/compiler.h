#pragma once
// Turns syntax trees into bytecode. Every variable is resolved here to a
// slot (frame local, ByRef parameter, script global, field of Me), so that
// running code looks names up only for what did not exist yet at compile
// time (code added later, Option Explicit misses).
#include <memory>
#include <string>
#include <vector>

#include "program.h"

namespace zorv::vbs {

// Compiles a parsed text into `program`: declares its classes, procedures
// and globals and answers the procedure holding its top-level statements.
// Errors found while compiling are appended to `errors`; with errors the
// program is left as it was as far as the script can tell.
Procedure* CompileScript(Program& program, const ScriptAst& ast, std::shared_ptr<const std::u16string> source,
                         std::vector<ScriptError>& errors);

// A procedure that evaluates one expression at script level into its result slot.
Procedure* CompileEvaluation(Program& program, const Expr& expr, std::shared_ptr<const std::u16string> source,
                             std::vector<ScriptError>& errors);

} // namespace zorv::vbs
