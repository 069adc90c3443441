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

// Code given to Execute, ExecuteGlobal or Eval while `caller` runs. With a
// caller (Execute or Eval in a procedure) the code sees the caller's locals
// and Me; its own Dims stay its own, and names it assigns that exist nowhere
// become script variables. Without one it runs at script level, as added
// code does. The procedure answered belongs to the one run; procedures and
// classes the code declares join the program.
struct DynamicScope {
    const Procedure* caller = nullptr;
};
std::unique_ptr<Procedure> CompileDynamic(Program& program, const ScriptAst& ast,
                                          std::shared_ptr<const std::u16string> source,
                                          std::vector<ScriptError>& errors, const DynamicScope& scope);
std::unique_ptr<Procedure> CompileDynamicExpression(Program& program, const Expr& expr,
                                                    std::shared_ptr<const std::u16string> source,
                                                    std::vector<ScriptError>& errors, const DynamicScope& scope);

} // namespace zorv::vbs
