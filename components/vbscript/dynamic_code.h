#pragma once
// Code made at run time: Eval, Execute, ExecuteGlobal, and GetRef's
// procedure references. They are built-ins that need the interpreter, so
// they live with it rather than with the runtime library.
#include <span>

#include "value.h"

struct IDispatch;

namespace zorv::vbs {

class Engine;
class Interpreter;
struct Procedure;

Value EvalFunction(Interpreter& vm, std::span<Value> args);
Value ExecuteFunction(Interpreter& vm, std::span<Value> args);
Value ExecuteGlobalFunction(Interpreter& vm, std::span<Value> args);
Value GetRefFunction(Interpreter& vm, std::span<Value> args);

// The procedure behind a GetRef object of `engine`, or null.
const Procedure* ReferencedProcedure(IDispatch* object, const Engine& engine);

} // namespace zorv::vbs
